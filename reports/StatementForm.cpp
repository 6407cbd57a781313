#include "reports/StatementForm.h"

#include "reports/BmpReader.h"

namespace quillan {

StatementForm loadStatementForm(const std::string& bitmapsFolder, const std::string& formName,
                                bool withPage1, bool withPage2) {
    StatementForm form;
    form.name = formName;
    form.layout = LoadFormLayout(bitmapsFolder, formName);
    if (withPage1)
        form.page1 = readBmpFile(formPagePath(bitmapsFolder, formName, 1));
    if (withPage2)
        form.page2 = readBmpFile(formPagePath(bitmapsFolder, formName, 2));
    return form;
}

} // namespace quillan
