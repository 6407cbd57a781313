#include "reports/StatementForm.h"

#include "reports/BmpReader.h"

namespace quillan {

StatementForm loadStatementForm(const std::string& bitmapsFolder, const std::string& formName) {
    StatementForm form;
    form.name = formName;
    form.layout = LoadFormLayout(bitmapsFolder, formName);
    form.page1 = readBmpFile(formPagePath(bitmapsFolder, formName, 1));
    form.page2 = readBmpFile(formPagePath(bitmapsFolder, formName, 2));
    return form;
}

} // namespace quillan
