"""A Modbus ASCII slave built on pymodbus, for the driver's tests.

Usage: pymodbus_ascii_slave.py DEVICE
Serves unit 1 on the serial device at 115200 8N1. Holding register k (0-based) holds k,
input register k holds 1000 + k, coil k is on when k % 3 == 0.
"""
import logging
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server import StartSerialServer
from pymodbus.transaction import ModbusAsciiFramer

logging.basicConfig(level=logging.ERROR)

ITEMS = 2000
store = ModbusSlaveContext(
    co=ModbusSequentialDataBlock(0, [k % 3 == 0 for k in range(ITEMS)]),
    di=ModbusSequentialDataBlock(0, [k % 2 == 1 for k in range(ITEMS)]),
    hr=ModbusSequentialDataBlock(0, list(range(ITEMS))),
    ir=ModbusSequentialDataBlock(0, [1000 + k for k in range(ITEMS)]),
    zero_mode=True,
)
context = ModbusServerContext(slaves=store, single=True)
print("ready", flush=True)
StartSerialServer(context=context, framer=ModbusAsciiFramer, port=sys.argv[1], baudrate=115200,
                  bytesize=8, parity="N", stopbits=1, timeout=0.05)
