#include "app/WriteBack.h"

#include "app/BarcodingProgram.h"

namespace quillan {

SortInformationResult WriteBackSortInformation(AppContext& ctx, const SortInformationJob& job) {
    SortInformationResult result = WriteSortInformation(job, ctx.notices(), ctx.progress());
    if (!result.closing || ctx.parameterCount() > 0)
        return result;
    // Only the offer of the barcoding program is answered Yes.
    Notice closing = closingNotice(*result.closing, job.mailing.mailClass());
    if (ctx.notices().tell(closing) == platform::ModalResult::Yes)
        RunBarcodingProgram(ctx, result.closing->barcodeList);
    return result;
}

} // namespace quillan
