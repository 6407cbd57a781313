#pragma once

#include "xls/MsoReader.h"
#include "xls/XlsPictures.h"

#include <functional>
#include <string>

namespace xls {

// The drawing group of a workbook (MSODRAWINGGROUP): every picture of its picture store
// becomes a workbook picture, in memory or in a temporary file of its own. A store entry
// without a picture still takes its place, so that placements find theirs by number.
class MsoGroupReader : public MsoReader {
public:
    // Called for each picture found; the picture belongs to the receiver.
    std::function<void(XlsPicture&& picture)> onPicture;
    bool picturesInMemory = false;

protected:
    void onRecord(const MsoHeader& header, RecordCursor body) override;

private:
    void readBlip(const MsoHeader& header, RecordCursor body);

    int blipCount_ = 0;
};

} // namespace xls
