#pragma once

#include "core/MailClass.h"
#include "core/Mailing.h"
#include "core/ProgressSink.h"
#include "core/settings/MailTypeSettings.h"
#include "core/settings/MailerSettings.h"
#include "core/settings/PeriodicalSettings.h"
#include "core/settings/SettingsLists.h"

namespace quillan {

// The settings a presort reads, taken as values once when it starts: the class of the
// mailing and the three settings files that describe it.
struct PresortSettings {
    MailClass mailClass;
    MailTypeSettings mailType;
    MailerSettings mailer;
    PeriodicalSettings periodical;

    // The settings the lists hold now. Throws PresortError when the mail category names no
    // class, rather than sorting under the class of an earlier sort.
    static PresortSettings of(const SettingsLists& lists);
};

// Everything one presort works on: the mailing whose tables and counters it fills, the
// postal lists it reads, its settings and where its progress shows. The presort reads
// nothing else.
struct PresortContext {
    Mailing& mailing;
    const PostalLists& lists;
    const PresortSettings& settings;
    ProgressSink& progress;
    WorkTables& tables = mailing.tables;
    MailingCounters& counters = mailing.counters;

    const MailClass& mailClass() const { return settings.mailClass; }
};

} // namespace quillan
