#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

namespace quillan {

// The help topics the program opens, by number: topic n is the page "topicN.html" of the
// help folder. Every window a person works in has a page of its own, which F1 and its Help
// button open; a test holds each number here to its page.
namespace HelpTopic {
inline constexpr int Contents = 1;
inline constexpr int GettingStarted = 2;
inline constexpr int Menus = 3; // the main window's
inline constexpr int MailCategories = 10;
inline constexpr int MailerInformation = 11;
inline constexpr int PeriodicalsSettings = 12;
inline constexpr int Preferences = 13;
inline constexpr int TagFonts = 14;
inline constexpr int StatementInformation = 15;
inline constexpr int FieldIdentification = 20;
inline constexpr int TableSelector = 21;
inline constexpr int ListChoice = 22; // the dialog that finds the mailing list
inline constexpr int LetterRates = 30;
inline constexpr int NonletterRates = 31;
inline constexpr int PiecePoundRates = 32;
inline constexpr int FirstClassRates = 33;
inline constexpr int PeriodicalRates = 34;
inline constexpr int ZipChartEditor = 35;
inline constexpr int PrintSelection = 40;
inline constexpr int PrintingBox = 41;
inline constexpr int PageSetup = 42;
inline constexpr int LabelListEditor = 62;
} // namespace HelpTopic

inline constexpr int ContentsHelpTopic = HelpTopic::Contents;

// Opens the help file beside the program at the topic.
void showHelpTopic(AppContext& ctx, int context);

// F1 in the form opens its topic.
void bindHelpKey(AppContext& ctx, platform::Form& form, int context);

// The printer set-up dialog (Page Setup), whose F1 and Help button open its page. True when
// a printer was chosen.
bool setUpPrinter(AppContext& ctx);

} // namespace quillan
