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

static char* Event(const struct VestrelIcalEvent* e) {
    icalcomponent* v = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(v, icalproperty_new_uid(e->uid));
    icalcomponent_add_property(v, icalproperty_new_dtstamp(UtcTime(e->stamp)));
    if (e->lastModified) icalcomponent_add_property(v, icalproperty_new_lastmodified(UtcTime(e->stamp)));
    icalcomponent_add_property(v, icalproperty_new_dtstart(DateOf(e->start)));
    icalcomponent_add_property(v, icalproperty_new_dtend(DateOf(e->end)));
    if (e->repeat != VESTREL_ICAL_ONCE) {
        struct icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = e->repeat == VESTREL_ICAL_YEARLY ? ICAL_YEARLY_RECURRENCE : ICAL_WEEKLY_RECURRENCE;
        rule.until = DateOf(e->until);
        icalcomponent_add_property(v, icalproperty_new_rrule(rule));
    }
    icalcomponent_add_property(v, icalproperty_new_summary(e->summary));
    if (e->description != NULL && e->description[0] != '\0')
        icalcomponent_add_property(v, icalproperty_new_description(e->description));
    if (e->color != NULL) icalcomponent_add_property(v, icalproperty_new_color(e->color));
    icalcomponent_add_property(v, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return TextOf(v);
}

__attribute__((visibility("default"))) const struct VestrelIcal* VestrelIcalFunctions(void) {
    static const struct VestrelIcal functions = {Calendar, Event};
    return &functions;
}
