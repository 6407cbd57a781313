#pragma once

#include "core/SettingsList.h"
#include "core/settings/FontSettings.h"
#include "core/settings/MailTypeSettings.h"
#include "core/settings/MailerSettings.h"
#include "core/settings/PeriodicalSettings.h"
#include "core/settings/Preferences.h"
#include "core/settings/RateTable.h"
#include "core/settings/StatementSettings.h"

#include <vector>

namespace quillan {

// The postal charts and label lists, each held as its lines for the whole run.
struct PostalLists {
    SettingsList threeDigitChart, threeDigitLabels;
    SettingsList scfChart, scfLabels;
    SettingsList schemeChart, schemeLabels;
    SettingsList adcStandardChart, adcPeriodicalChart, adcLabels;
    SettingsList aadcStandardChart, aadcLabels, aadcFirstClassChart;
    SettingsList dbmcChart, dbmcLabels, bmcAsfLabels;
    SettingsList nonBmcStandardChart, nonBmcPeriodicalChart, nonBmcLabels;
    SettingsList zoneLabels, zoneChart;
};

// Every settings and reference file of the data folder; each settings file is read through
// its own typed view.
struct SettingsLists : PostalLists {
    MailTypeSettings mailTypeList;
    MailerSettings mailerList;
    PeriodicalSettings periodicalList;
    Preferences prefsList;
    FontSettings fontsList;
    StatementSettings statementList;
    RateTable ratesList;
};

// One file of the data folder and the list that holds it.
struct DataFile {
    const char* fileName;
    SettingsList& (*list)(SettingsLists&);
};

// The twenty postal files in loading order, then mailtype, mailer, per and prefs; and the
// three settings files loaded after prefs.dat is padded.
const std::vector<DataFile>& postalAndEarlySettingsFiles();
const std::vector<DataFile>& lateSettingsFiles();

} // namespace quillan
