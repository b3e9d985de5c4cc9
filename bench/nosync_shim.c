/* Makes every flush a no-op, so that a benchmark measures the CPU work of a purge
 * without the device's flush latency. Build and use:
 *   cc -shared -fPIC -O2 -o nosync_shim.so bench/nosync_shim.c
 *   LD_PRELOAD=$PWD/nosync_shim.so vorlane-cli ...
 * Never use it for a real purge: nothing it "flushes" is guaranteed on the device. */
#include <unistd.h>

int fsync(int fd) {
    (void)fd;
    return 0;
}

int fdatasync(int fd) {
    (void)fd;
    return 0;
}

int syncfs(int fd) {
    (void)fd;
    return 0;
}

void sync(void) {}
