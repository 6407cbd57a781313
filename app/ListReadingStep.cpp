#include "app/ListReadingStep.h"

#include "listio/ListFormat.h"
#include "xls/Messages.h"

namespace quillan {

ListRequest listRequestOf(AppContext& ctx, const std::string& path) {
    ListRequest request;
    request.path = path;
    const std::string mode = ctx.runMode();
    if (mode == "DUZIZ")
        request.reader = ListReader::Partner;
    else if (mode == "NOSTOP")
        request.reader = ListReader::Unattended;
    if (request.reader != ListReader::Person && ctx.parameterCount() > 2)
        request.tableName = ctx.parameter(3);
    request.components = [&ctx]() -> ListComponents& { return listComponents(ctx); };
    return request;
}

ListComponents& listComponents(AppContext& ctx) {
    if (!ctx.listComponents)
        ctx.listComponents =
            std::make_shared<ListComponents>(xls::messageBoxHandler(ctx.platform.ui));
    return *ctx.listComponents;
}

ReadOutcome ReadListIntoContext(AppContext& ctx, FieldChooser& fields, TableChooser& tables,
                                const std::string& path) {
    // Named for the whole reading: a person who leaves meanwhile is asked about this list.
    ctx.listFileName = path;
    ListPeople people{ctx.notices(), fields, tables, ctx.progress()};
    ListReading reading = ReadMailingList(listRequestOf(ctx, path), ctx.lists, people);
    if (reading.inCountyDeclined)
        ctx.lists.periodicalList.setInCountyRates(false);
    const bool read = reading.outcome == ReadOutcome::Read;
    ctx.listFileKind = read ? reading.list.format->name : "";
    ctx.list = std::move(reading.list.state);
    ctx.tables = std::move(reading.mailing.tables);
    ctx.counters = reading.mailing.counters;
    return reading.outcome;
}

} // namespace quillan
