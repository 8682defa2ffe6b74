/* vestrel-cal-ical.so: calendar and event texts built by libical. */
#include "cli/ical_module.h"

#include <libical/ical.h>

static const int64_t kLatestStamp = 253402300799; /* 9999-12-31 23:59:59 UTC, the last a DATE-TIME holds */

static icaltimetype DateOf(struct VestrelIcalDate d) {
    icaltimetype t = icaltime_null_date();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    return t;
}

/* A UTC DATE-TIME of seconds since 1970; times before 1970 or after 9999 are taken as the nearest. */
static icaltimetype UtcTime(int64_t seconds) {
    const time_t t = (time_t)(seconds < 0 ? 0 : seconds > kLatestStamp ? kLatestStamp : seconds);
    return icaltime_from_timet_with_zone(t, 0, icaltimezone_get_utc_timezone());
}

/* The component's text, the component freed. */
static char* TextOf(icalcomponent* c) {
    char* text = icalcomponent_as_ical_string_r(c);
    icalcomponent_free(c);
    return text;
}

static char* Calendar(const char* name, const char* source) {
    icalcomponent* c = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(c, icalproperty_new_version("2.0"));
    icalcomponent_add_property(c, icalproperty_new_prodid("-//Vestrel//vestrel-cal//ZH"));
    icalcomponent_add_property(c, icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(c, icalproperty_new_name(name));
    icalproperty* calname = icalproperty_new_x(name);
    icalproperty_set_x_name(calname, "X-WR-CALNAME");
    icalcomponent_add_property(c, calname);
    struct icaldurationtype day = icaldurationtype_null_duration();
    day.days = 1;
    icalproperty* refresh = icalproperty_new_refreshinterval(day);
    icalproperty_add_parameter(refresh, icalparameter_new_value(ICAL_VALUE_DURATION));
    icalcomponent_add_property(c, refresh);
    if (source != NULL && source[0] != '\0') icalcomponent_add_property(c, icalproperty_new_source(source));
    return TextOf(c);
}

/* A floating local time: neither UTC nor a zone. */
static icaltimetype LocalTimeOf(struct VestrelIcalTime d) {
    icaltimetype t = icaltime_null_time();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    t.hour = d.hour;
    t.minute = d.minute;
    return t;
}

/* A VEVENT of the properties both kinds of event have; start, end and until are dates or floating
 * times alike. */
static icalcomponent* NewEvent(const char* uid, int64_t stamp, int lastModified, icaltimetype start,
                               icaltimetype end, enum VestrelIcalRepeat repeat, icaltimetype until,
                               const char* summary, const char* description, const char* color) {
    icalcomponent* v = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(v, icalproperty_new_uid(uid));
    icalcomponent_add_property(v, icalproperty_new_dtstamp(UtcTime(stamp)));
    if (lastModified) icalcomponent_add_property(v, icalproperty_new_lastmodified(UtcTime(stamp)));
    icalcomponent_add_property(v, icalproperty_new_dtstart(start));
    icalcomponent_add_property(v, icalproperty_new_dtend(end));
    if (repeat != VESTREL_ICAL_ONCE) {
        struct icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = repeat == VESTREL_ICAL_YEARLY ? ICAL_YEARLY_RECURRENCE : ICAL_WEEKLY_RECURRENCE;
        rule.until = until;
        icalcomponent_add_property(v, icalproperty_new_rrule(rule));
    }
    icalcomponent_add_property(v, icalproperty_new_summary(summary));
    if (description != NULL && description[0] != '\0')
        icalcomponent_add_property(v, icalproperty_new_description(description));
    if (color != NULL) icalcomponent_add_property(v, icalproperty_new_color(color));
    icalcomponent_add_property(v, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return v;
}

static char* Event(const struct VestrelIcalEvent* e) {
    return TextOf(NewEvent(e->uid, e->stamp, e->lastModified, DateOf(e->start), DateOf(e->end), e->repeat,
                           DateOf(e->until), e->summary, e->description, e->color));
}

static char* TimedEvent(const struct VestrelIcalTimedEvent* e) {
    icalcomponent* v = NewEvent(e->uid, e->stamp, e->lastModified, LocalTimeOf(e->start), LocalTimeOf(e->end),
                                e->repeat, LocalTimeOf(e->until), e->summary, e->description, e->color);
    icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_trigger(icaltriggertype_from_int(0))); /* at the start */
    icalcomponent_add_property(alarm, icalproperty_new_description(e->alarm));
    icalcomponent_add_component(v, alarm);
    return TextOf(v);
}

__attribute__((visibility("default"))) const struct VestrelIcal* VestrelIcalFunctions2(void) {
    static const struct VestrelIcal functions = {Calendar, Event, TimedEvent};
    return &functions;
}
