#include "app/ListReadingStep.h"

#include "listio/ListComponents.h"

namespace quillan {

ListRequest listRequestOf(AppContext& ctx, const std::string& path) {
    ListRequest request;
    request.path = path;
    if (ctx.runMode == RunMode::Partner)
        request.reader = ListReader::Partner;
    else if (ctx.runMode == RunMode::Unattended)
        request.reader = ListReader::Unattended;
    if (request.reader != ListReader::Person && ctx.parameterCount() > 2)
        request.tableName = ctx.parameter(3);
    request.components = [&ctx]() -> ListComponents& { return listComponents(ctx); };
    return request;
}

ListComponents& listComponents(AppContext& ctx) {
    if (!ctx.listComponents)
        ctx.listComponents = std::make_shared<ListComponents>(ctx.notices());
    return *ctx.listComponents;
}

ListReading ReadListForCommand(AppContext& ctx, FieldChooser& fields, TableChooser& tables,
                               const std::string& path) {
    ListPeople people{ctx.notices(), fields, tables, ctx.progress()};
    ListReading reading = ReadMailingList(listRequestOf(ctx, path), ctx.lists, people);
    if (reading.inCountyDeclined)
        ctx.lists.periodicalList.setInCountyRates(false);
    return reading;
}

} // namespace quillan
