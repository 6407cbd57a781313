// The field identification dialog with the scripted user interface.

#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "tests/listio/ListTestSupport.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;
using platform::Form;

namespace {

struct Dialog : ListFixture {
    // What the opener proposes: format, path, records, fields and the roles in their order.
    void propose(const std::string& kind, const std::string& path, int records, int fields,
                 std::vector<int> roles) {
        proposal = {formatNamed(kind), path, records, fields, {}};
        roles.resize(FieldRoles::all.size(), -1);
        for (size_t i = 0; i < roles.size(); ++i)
            proposal.roles.*FieldRoles::all[i] = roles[i];
    }
    std::optional<FieldRoles> confirm() { return dialog.confirm(proposal); }
    static std::vector<int> roleList(const FieldRoles& roles) {
        std::vector<int> list;
        for (int FieldRoles::*role : FieldRoles::all)
            list.push_back(roles.*role);
        return list;
    }
    FieldProposal proposal;
    std::string mergeList() {
        return write("m.txt", crlf({"NAME,CITY,ZIP", "ANN,DALLAS,75201", "BO,WACO,76701",
                                    "CY,AUSTIN,78701"}));
    }
};

} // namespace

TEST(FieldDialog, MergeListStepsFromTheFieldListThroughTheRecords) {
    Dialog d;
    d.propose(KindMerge, d.mergeList(), 3, 3, {2});
    std::vector<std::string> seen;
    d.ui().whenShown("VerifyDlog", [&](Form& form) {
        auto show = [&] {
            seen.push_back(form.control("CurrentRecordLabel").caption() + ":" +
                           form.control("zip").text());
        };
        EXPECT_EQ(form.caption(), d.env.folder() + "m.txt");
        EXPECT_EQ(form.control("fileTypeLabel").caption(), "Format: Ascii Merge");
        EXPECT_EQ(form.control("NewRecordsLabel").caption(), "3 Records");
        EXPECT_FALSE(form.control("prevbtn").enabled());
        show();
        form.control("nextbtn").userClick();
        show();
        form.control("nextbtn").userClick();
        show();
        form.control("prevbtn").userClick();
        show();
        form.control("prevbtn").userClick();
        show();
        EXPECT_FALSE(form.control("prevbtn").enabled());
        form.control("nextbtn").userClick();
        form.control("nextbtn").userClick();
        form.control("nextbtn").userClick();
        EXPECT_FALSE(form.control("nextbtn").enabled());
        show();
        form.control("OKBtn").userClick();
    });
    EXPECT_TRUE(d.confirm());
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Field List:ZIP", "Record 1:75201", "Record 2:76701",
                                        "Record 1:75201", "Field List:ZIP", "Record 3:78701"}));
}

TEST(FieldDialog, CommaListOpensOnRecordOneWithPrevDisabled) {
    Dialog d;
    d.propose(KindComma, d.write("c.txt", crlf({"ANN,75201", "BO,76701"})), 2, 2, {1});
    d.ui().whenShown("VerifyDlog", [](Form& form) {
        EXPECT_EQ(form.control("CurrentRecordLabel").caption(), "Record 1");
        EXPECT_EQ(form.control("zip").items(), (std::vector<std::string>{"ANN", "75201"}));
        EXPECT_FALSE(form.control("prevbtn").enabled());
        form.control("nextbtn").userClick();
        form.control("prevbtn").userClick();
        EXPECT_EQ(form.control("CurrentRecordLabel").caption(), "Record 1");
        EXPECT_FALSE(form.control("prevbtn").enabled());
        form.control("OKBtn").userClick();
    });
    d.confirm();
}

TEST(FieldDialog, ChoicesClearTheRolesTheyExclude) {
    Dialog d;
    d.propose(KindMerge, d.mergeList(), 3, 3, {-1, 2, 1, -1, -1, -1, -1, 0});
    d.ui().whenShown("VerifyDlog", [](Form& form) {
        form.control("zip").userSetItemIndex(2);
        EXPECT_EQ(form.control("zip5").itemIndex(), -1);
        EXPECT_EQ(form.control("zip4").itemIndex(), -1) << "even on another column";
        form.control("zip5").userSetItemIndex(2);
        EXPECT_EQ(form.control("zip").itemIndex(), -1);
        form.control("city").userSetItemIndex(0); // the tray's column
        EXPECT_EQ(form.control("tray").itemIndex(), -1);
        form.control("citystate").userSetItemIndex(1);
        EXPECT_EQ(form.control("city").itemIndex(), -1);
        form.control("zip5Label").userDoubleClick();
        EXPECT_EQ(form.control("zip5").itemIndex(), -1);
        form.control("OKBtn").userClick();
    });
    std::optional<FieldRoles> chosen = d.confirm();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(Dialog::roleList(*chosen),
              (std::vector<int>{-1, -1, -1, -1, -1, 1, -1, -1, -1, -1, -1}));
    d.ui().pressWhenShown("VerifyDlog", "CancelBtn");
    EXPECT_FALSE(d.confirm()) << "Cancel gives no roles";
}

TEST(FieldDialog, OutputAndCountyControlsFollowTheSettings) {
    Dialog d;
    d.propose(KindMerge, d.mergeList(), 3, 3, {2, -1, -1, -1, -1, -1, -1, 1});
    d.setLine(&SettingsLists::prefsList, 2, "1");
    d.ui().whenShown("VerifyDlog", [](Form& form) {
        for (const char* name : {"sort", "tray", "pkg", "oel", "sortLabel", "optional",
                                 "sortOrderBlank", "OutputFrame", "county"})
            EXPECT_FALSE(form.control(name).visible()) << name;
        form.control("OKBtn").userClick();
    });
    std::optional<FieldRoles> chosen = d.confirm();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->trayColumn, 1) << "a hidden role travels back unchanged";

    d.setLine(&SettingsLists::prefsList, 2, "0");
    d.setLine(&SettingsLists::mailTypeList, 1, "7");
    d.setLine(&SettingsLists::periodicalList, 4, "t");
    d.ui().whenShown("VerifyDlog", [](Form& form) {
        EXPECT_TRUE(form.control("tray").visible());
        EXPECT_FALSE(form.control("sort").visible()) << "a text list gets new fields";
        EXPECT_TRUE(form.control("sortOrderBlank").visible());
        EXPECT_FALSE(form.control("optional").visible());
        EXPECT_TRUE(form.control("county").visible());
        form.control("OKBtn").userClick();
    });
    d.confirm();
}
