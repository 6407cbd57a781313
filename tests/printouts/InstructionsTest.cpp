// The mail preparation instructions and the verification report on a recording printer.

#include "tests/printouts/InstructionsRig.h"

#include <gtest/gtest.h>
#include <iostream>

using namespace quillan;
using test::InstructionsRig;

TEST(InstructionsDump, Dump) {
    InstructionsRig r("3", "0");
    r.sort("75201x70, 75202x30, 96701x60, 96901x100, 14001x100, 14201x50, !07520x1");
    r.printInstructions();
    for (const auto& t : r.texts())
        std::cout << t.sheet << " " << t.x << " " << t.y << " " << t.text << "\n";
}
TEST(InstructionsDump, Log) {
    InstructionsRig r("3", "0");
    r.sort("75201x70, !07520x1");
    r.printInstructions();
    const auto& log = r.rig.printer.log();
    for (size_t i = log.size() > 40 ? log.size() - 40 : 0; i < log.size(); ++i)
        std::cout << log[i] << "\n";
    std::cout << r.mailing->rejectedRecords().size() << " rejected\n";
}
