/* Loaded into Wine (LD_PRELOAD) for the Windows tests only, never shipped.
 *
 * Two things stand between Qt's serial port under Wine 8 and a
 * pseudo-terminal, which stands in for the instrument's port in the tests:
 *
 * - Wine waits for received bytes by asking the device for its modem lines
 *   (TIOCMGET) and interrupt counters (TIOCGICOUNT) on every wake, and gives
 *   the wait up when the device refuses. A real serial port answers both; a
 *   pseudo-terminal has neither. Here it answers as an idle line would: the
 *   lines up, no errors counted, the transmitter empty.
 * - Qt waits for the receive event with no event handle in its OVERLAPPED
 *   (it is told of completions through a completion port), and Wine 8 then
 *   waits in the caller's thread until an event comes: the program stops
 *   until the first byte arrives, which never does, since it has not yet
 *   sent its request. So an empty pseudo-terminal reports one waiting byte
 *   once every 10 ms: the wait ends, Qt finds nothing to read and waits
 *   again, and the event loop runs in between. Real bytes are reported at
 *   once, as they are. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <linux/serial.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>

static long long milliseconds_now(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

static int is_pseudo_terminal(int fd) {
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) return 0;
    /* Unix 98 pseudo-terminal slaves have the majors 136 to 143. */
    return major(info.st_rdev) >= 136 && major(info.st_rdev) <= 143;
}

int ioctl(int fd, unsigned long request, ...) {
    static int (*real_ioctl)(int, unsigned long, ...);
    va_list args;
    va_start(args, request);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (real_ioctl == NULL)
        real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    const int result = real_ioctl(fd, request, argument);
    if (result == 0 && request == TIOCINQ && *(int*)argument == 0 && is_pseudo_terminal(fd)) {
        static long long last_woken;
        const long long now = milliseconds_now();
        if (now - last_woken >= 10) {
            last_woken = now;
            *(int*)argument = 1;
        }
        return 0;
    }
    if (result == 0 || !is_pseudo_terminal(fd)) return result;
    switch (request) {
        case TIOCMGET:
            *(int*)argument = TIOCM_CTS | TIOCM_DSR | TIOCM_CAR | TIOCM_DTR | TIOCM_RTS;
            return 0;
        case TIOCMSET:
        case TIOCMBIS:
        case TIOCMBIC:
            return 0;
        case TIOCGICOUNT:
            memset(argument, 0, sizeof(struct serial_icounter_struct));
            return 0;
        case TIOCSERGETLSR:
            *(unsigned int*)argument = TIOCSER_TEMT;
            return 0;
        default:
            return result;
    }
}
