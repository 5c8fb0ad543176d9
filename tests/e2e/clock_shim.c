/* Preloaded into the Linux program by the tests: every way of setting the
   clock is recorded in the file named by NETCLOCK_CLOCK_LOG and refused as an
   unprivileged process would be refused. The real functions are never
   called, so the machine's clock cannot move. */
#define _GNU_SOURCE
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/time.h>
#include <sys/timex.h>
#include <time.h>

static void record(const char* what, long long seconds, long long nanoseconds) {
    const char* path = getenv("NETCLOCK_CLOCK_LOG");
    FILE* log = path != NULL ? fopen(path, "a") : NULL;
    if (log == NULL) return;
    fprintf(log, "%s %lld %lld\n", what, seconds, nanoseconds);
    fclose(log);
}

int clock_settime(clockid_t clock, const struct timespec* tp) {
    record(clock == CLOCK_REALTIME ? "clock_settime" : "clock_settime_other", tp ? (long long)tp->tv_sec : -1,
           tp ? (long long)tp->tv_nsec : -1);
    errno = EPERM;
    return -1;
}

int settimeofday(const struct timeval* tv, const struct timezone* tz) {
    (void)tz;
    record("settimeofday", tv ? (long long)tv->tv_sec : -1, tv ? (long long)tv->tv_usec * 1000 : -1);
    errno = EPERM;
    return -1;
}

int adjtimex(struct timex* buf) {
    (void)buf;
    record("adjtimex", 0, 0);
    errno = EPERM;
    return -1;
}

int clock_adjtime(clockid_t clock, struct timex* buf) {
    (void)clock;
    (void)buf;
    record("clock_adjtime", 0, 0);
    errno = EPERM;
    return -1;
}
