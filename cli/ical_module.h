/* What vestrel-cal asks of libical, behind a module of its own, vestrel-cal-ical.so, which only
 * --ics loads (ical_loader.h): libical pulls in the Unicode libraries, and their relocation alone
 * took most of a one-day --days run when every run loaded them. The module is C, so it brings no
 * C++ runtime of its own. Every text it returns is libical's, unfolded (FoldIcsLines folds it),
 * from malloc: the caller frees it, and a null is a failed allocation. */
#ifndef VESTREL_CLI_ICAL_MODULE_H
#define VESTREL_CLI_ICAL_MODULE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct VestrelIcalDate {
    int year, month, day;
};

enum VestrelIcalRepeat { VESTREL_ICAL_ONCE, VESTREL_ICAL_YEARLY, VESTREL_ICAL_WEEKLY };

/* One all-day event, or a yearly or weekly series of them. */
struct VestrelIcalEvent {
    const char* uid;
    struct VestrelIcalDate start, end; /* DTSTART; DTEND, the day after the last */
    int64_t stamp;                     /* DTSTAMP, seconds since 1970 (UTC), taken within 1970 ... 9999 */
    int lastModified;                  /* non-zero: LAST-MODIFIED too, the same time */
    enum VestrelIcalRepeat repeat;     /* RRULE FREQ, ending on until */
    struct VestrelIcalDate until;
    const char* summary;
    const char* description; /* none when null or empty */
    const char* color;       /* COLOR, none when null */
};

/* A local time of no time zone (a floating DATE-TIME: no Z, no TZID), to the minute. */
struct VestrelIcalTime {
    int year, month, day, hour, minute;
};

/* One timed event, or a yearly or weekly series of them, at floating local times, with a display
 * alarm at its start. */
struct VestrelIcalTimedEvent {
    const char* uid;
    struct VestrelIcalTime start, end; /* DTSTART; DTEND */
    int64_t stamp;                     /* DTSTAMP, as for VestrelIcalEvent */
    int lastModified;                  /* non-zero: LAST-MODIFIED too, the same time */
    enum VestrelIcalRepeat repeat;     /* RRULE FREQ, ending on until (a floating time, as DTSTART) */
    struct VestrelIcalTime until;
    const char* summary;
    const char* description; /* none when null or empty */
    const char* color;       /* COLOR, none when null */
    const char* alarm;       /* the VALARM's DESCRIPTION (ACTION:DISPLAY, TRIGGER:PT0S) */
};

struct VestrelIcal {
    /* A VCALENDAR without components (its END line included): VERSION, PRODID, CALSCALE, NAME and
     * X-WR-CALNAME name, a daily REFRESH-INTERVAL, and SOURCE source unless that is null or empty. */
    char* (*calendar)(const char* name, const char* source);
    /* A VEVENT, transparent (TRANSP:TRANSPARENT). */
    char* (*event)(const struct VestrelIcalEvent* event);
    /* A VEVENT, transparent, holding its VALARM. */
    char* (*timedEvent)(const struct VestrelIcalTimedEvent* event);
};

/* The module's one entry point. Its name changes with struct VestrelIcal, so that a module of an
 * earlier build left beside the program is refused rather than called past the end of its table. */
const struct VestrelIcal* VestrelIcalFunctions2(void);
#define VESTREL_ICAL_ENTRY "VestrelIcalFunctions2"

#ifdef __cplusplus
}
#endif

#endif
