/* A Modbus slave built on libmodbus, for the driver's tests.
 *   modbusdrv_libmodbus_slave tcp PORT     listens on 127.0.0.1:PORT (0: any free port)
 *   modbusdrv_libmodbus_slave rtu DEVICE   serves unit 1 on a serial device, 115200 8N1
 * Prints "ready PORT" (or "ready") on its first line once it serves. Register k (0-based)
 * holds k, input register k holds 1000 + k, coil k is on when k % 3 == 0, discrete input k
 * when k is odd. */
#include <arpa/inet.h>
#include <errno.h>
#include <modbus.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#define ITEMS 20000

static modbus_mapping_t* make_mapping(void) {
  modbus_mapping_t* m = modbus_mapping_new(ITEMS, ITEMS, ITEMS, ITEMS);
  for (int k = 0; k < ITEMS; ++k) {
    m->tab_registers[k] = (uint16_t)k;
    m->tab_input_registers[k] = (uint16_t)(1000 + k);
    m->tab_bits[k] = (k % 3) == 0;
    m->tab_input_bits[k] = (k % 2) == 1;
  }
  return m;
}

static int serve_rtu(const char* device) {
  modbus_t* ctx = modbus_new_rtu(device, 115200, 'N', 8, 1);
  if (ctx == NULL || modbus_set_slave(ctx, 1) != 0 || modbus_connect(ctx) != 0) {
    fprintf(stderr, "cannot open %s: %s\n", device, modbus_strerror(errno));
    return 1;
  }
  modbus_mapping_t* m = make_mapping();
  printf("ready\n");
  fflush(stdout);
  uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
  for (;;) {
    int rc = modbus_receive(ctx, query);
    if (rc > 0) modbus_reply(ctx, query, rc, m);
  }
}

static int serve_tcp(int port) {
  modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
  int server = modbus_tcp_listen(ctx, 8);
  if (server < 0) {
    fprintf(stderr, "cannot listen: %s\n", modbus_strerror(errno));
    return 1;
  }
  struct sockaddr_in address;
  socklen_t length = sizeof address;
  getsockname(server, (struct sockaddr*)&address, &length);
  modbus_mapping_t* m = make_mapping();
  printf("ready %d\n", ntohs(address.sin_port));
  fflush(stdout);
  fd_set all;
  FD_ZERO(&all);
  FD_SET(server, &all);
  int highest = server;
  uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
  for (;;) {
    fd_set ready = all;
    if (select(highest + 1, &ready, NULL, NULL, NULL) < 0) {
      if (errno == EINTR) continue;
      return 1;
    }
    for (int fd = 0; fd <= highest; ++fd) {
      if (!FD_ISSET(fd, &ready)) continue;
      if (fd == server) {
        int client = accept(server, NULL, NULL);
        if (client >= 0) {
          FD_SET(client, &all);
          if (client > highest) highest = client;
        }
        continue;
      }
      modbus_set_socket(ctx, fd);
      int rc = modbus_receive(ctx, query);
      if (rc > 0) {
        modbus_reply(ctx, query, rc, m);
      } else if (rc == -1) {
        close(fd);
        FD_CLR(fd, &all);
      }
    }
  }
}

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "tcp") == 0) return serve_tcp(atoi(argv[2]));
  if (argc == 3 && strcmp(argv[1], "rtu") == 0) return serve_rtu(argv[2]);
  fprintf(stderr, "usage: %s tcp PORT | rtu DEVICE\n", argv[0]);
  return 2;
}
