#pragma once

#include "core/Mailing.h"
#include "core/settings/MailTypeSettings.h"

namespace quillan {

// The size a mailing must reach for bulk or presort rates, judged on the pieces left after
// the rejected records and the mail category settings.
// Periodicals have no minimum; otherwise 500 pieces, 200 outside First-Class, or 800
// ounces of pieces of a stated weight are enough.
bool MeetsMinimumSize(const Mailing& mailing, const MailTypeSettings& mailType);

// Whether the pieces of a stated weight weigh 800 ounces or more, enough for presort rates
// whatever their count. False when no exact weight is stated.
bool WeighsEnoughForPresort(const MailTypeSettings& mailType, int32_t pieces);

// A co-sacked Standard mailing (mail type "4") needs 200 pieces with ZIP+4, or 800 ounces
// of them. Other mail types always pass.
bool HasEnoughZip4s(const Mailing& mailing, const MailTypeSettings& mailType);

extern const char* const TooSmallQuestion;
extern const char* const TooFewZip4sMessage;

} // namespace quillan
