#include "reports/QualificationReport.h"
#include "tests/reports/QualificationRig.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::QualificationRig;

TEST(QualificationReport, Smoke) {
    QualificationRig rig(MailClass::RML);
    rig.fiveDigitTrays(3, 150);
    rig.print();
    for (const auto& e : rig.printer.log())
        std::cout << e << "\n";
}
