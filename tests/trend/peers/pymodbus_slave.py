"""Independent Modbus RTU slave for the trend viewer tests (pymodbus 3.0).

Usage: pymodbus_slave.py tcp PORT      -- RTU frames over TCP on 127.0.0.1:PORT
       pymodbus_slave.py serial DEVICE -- RTU on a serial device (a pseudo-terminal)

Unit 1 holds floats in the holding registers: registers 2k and 2k+1 (high word first) hold
k / 2 + 0.25, for k from 0 to 3999.
"""
import asyncio
import logging
import struct
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.framer.rtu_framer import ModbusRtuFramer
from pymodbus.server.async_io import StartAsyncSerialServer, StartAsyncTcpServer

logging.disable(logging.CRITICAL)

registers = []
for k in range(4000):
    raw = struct.pack(">f", k / 2 + 0.25)
    registers += [(raw[0] << 8) | raw[1], (raw[2] << 8) | raw[3]]
# pymodbus 3.0 addresses a sequential block from 1: the leading entry is never read.
block = ModbusSequentialDataBlock(0, [0] + registers)
context = ModbusServerContext(slaves={1: ModbusSlaveContext(hr=block)}, single=False)


async def main():
    if sys.argv[1] == "tcp":
        await StartAsyncTcpServer(context=context, address=("127.0.0.1", int(sys.argv[2])), framer=ModbusRtuFramer)
    else:
        await StartAsyncSerialServer(context=context, port=sys.argv[2], framer=ModbusRtuFramer, baudrate=19200)


asyncio.run(main())
