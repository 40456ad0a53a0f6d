#ifndef MORVANE_READERS_PCPROX_API_H
#define MORVANE_READERS_PCPROX_API_H

/* The C entry points a pcProx reader library must offer to be usable by Morvane, and that our
 * reader emulator offers. Every argument and result is a signed 16-bit integer unless shown
 * otherwise; a result used as a truth value is true when it is not 0. All calls act on the
 * library's active reader, chosen with SetActDev. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One part of a reader's configuration: eight signed 16-bit fields, field 1 first. */
typedef struct PcProxRecord {
    int16_t field[8];
} PcProxRecord;

int16_t SetDevTypeSrch(int16_t searchType);
int16_t SetConnectProduct(int16_t product);
/* True when a reader is connected; *deviceValue then carries its firmware version. */
int16_t USBConnect(int32_t* deviceValue);
int16_t ReadCfg(void);
int16_t GetDevCnt(void);
int16_t SetActDev(int16_t index);
int16_t GetActDev(void);
int16_t GetLUID(void);
int16_t SetLUID(int16_t luid);

/* Each setter stages its part of the configuration for the next WriteCfg. */
int16_t SetFlags(const PcProxRecord* record);
int16_t SetFlags2(const PcProxRecord* record);
int16_t SetFlags3(const PcProxRecord* record);
int16_t SetIDBitCnts(const PcProxRecord* record);
int16_t SetIDDispParms(const PcProxRecord* record);
int16_t SetIDDispParms2(const PcProxRecord* record);
int16_t SetIDDispParms3(const PcProxRecord* record);
int16_t SetLEDCtrl(const PcProxRecord* record);
int16_t SetTimeParms(const PcProxRecord* record);
int16_t WriteCfg(void);

/* Number of card bits read, 0 when there is no card data; the buffer then holds the bits as an
 * unsigned number, least significant byte first. */
int16_t GetActiveID(uint8_t* buffer, int16_t size);

#ifdef __cplusplus
}
#endif

#endif
