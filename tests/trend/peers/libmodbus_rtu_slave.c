/* Independent Modbus RTU slave for the trend viewer tests, built on libmodbus. It opens a
 * pseudo-terminal, prints the device path of its slave side on one line and serves unit 1
 * on the master side until it is killed. Registers 2k and 2k+1 (high word first) hold
 * k / 2 + 0.25, for k from 0 to 3999. */
#include <errno.h>
#include <modbus.h>
#include <pty.h>
#include <stdio.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

int main(void) {
  int master = -1, slave = -1;
  char name[256];
  if (openpty(&master, &slave, name, NULL, NULL) != 0) return 1;
  struct termios tio;
  tcgetattr(slave, &tio);
  cfmakeraw(&tio);
  tcsetattr(slave, TCSANOW, &tio);

  modbus_t* ctx = modbus_new_rtu("/dev/null", 19200, 'N', 8, 1);
  if (!ctx) return 1;
  modbus_set_slave(ctx, 1);
  modbus_set_socket(ctx, master);
  modbus_mapping_t* map = modbus_mapping_new(0, 0, 8000, 0);
  if (!map) return 1;
  for (int k = 0; k < 4000; ++k) {
    float value = (float)k / 2.0f + 0.25f;
    unsigned int bits;
    memcpy(&bits, &value, 4);
    map->tab_registers[2 * k] = (unsigned short)(bits >> 16);
    map->tab_registers[2 * k + 1] = (unsigned short)(bits & 0xFFFF);
  }
  printf("%s\n", name);
  fflush(stdout);

  unsigned char query[MODBUS_RTU_MAX_ADU_LENGTH];
  for (;;) {
    int rc = modbus_receive(ctx, query);
    if (rc > 0) {
      modbus_reply(ctx, query, rc, map);
    } else if (rc < 0 && errno != EMBBADCRC && errno != EMBBADDATA) {
      usleep(10000); /* the other side closed the line for now: wait for it to come back */
      modbus_flush(ctx);
    }
  }
}
