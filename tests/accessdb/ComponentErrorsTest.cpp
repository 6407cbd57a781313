#include "tests/accessdb/TestDriver.h"

#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/EngineSupport.h"

#include <gtest/gtest.h>

using namespace accessdb;
using namespace accessdb::testing;

TEST(ComponentErrors, MessageWithoutStackNamesTheStatus) {
    TVirtEng engine(testSessions());
    ETDBEngineError error(&engine, 0x2706);
    EXPECT_STREQ(error.what(), "Torvane Interface Error: ( 2706 )");
    EXPECT_EQ(error.errorCount(), 1);
    EXPECT_EQ(error.errors(0).errorCode, 0x2706);
    ETDBEngineError noEngine(nullptr, 0x2202);
    EXPECT_STREQ(noEngine.what(), "Torvane Interface Error: ( 2202 )");
}

TEST(ComponentErrors, MessageLinesFromTheStackAppearOnce) {
    TVirtEng engine(testSessions());
    TBaseDatabase* db = nullptr;
    EngineParams params;
    EXPECT_EQ(engine.OpenDatabase("NOALIAS", "", 0, 0, "", params, db), dbierr::UNKNOWNDB);
    try {
        check(&engine, dbierr::UNKNOWNDB);
        FAIL();
    } catch (const ETDBEngineError& e) {
        // The context of the status and the stack entry's text are the same lines.
        EXPECT_STREQ(e.what(), "DBIERR_UNKNOWNDB\r\nNOALIAS");
        ASSERT_EQ(e.errorCount(), 2);
        EXPECT_EQ(e.errors(1).errorCode, dbierr::UNKNOWNDB);
    }
    EXPECT_NO_THROW(check(&engine, 0));

    // An empty-query status reports only what the stack says.
    ETDBEngineError empty(&engine, dbierr::QRYEMPTY);
    EXPECT_STREQ(empty.what(), "DBIERR_UNKNOWNDB\r\nNOALIAS");
}

TEST(ComponentErrors, ParamsToTextQuotesEachValue) {
    EXPECT_EQ(paramsToText({"PATH=C:\\data", "USER NAME=ann"}),
              "PATH:\"C:\\data\";USER NAME:\"ann\"");
    EXPECT_EQ(paramsToText({"NOEQUALS", "EMPTY=", ""}), ":\"NOEQUALS\"");
    EXPECT_EQ(paramsToText({"PATH=\xE4"}), "PATH:\"\x84\"");
    TVirtEng plain(testSessions(false));
    EXPECT_EQ(paramsToText({"PATH=\xE4"}, &plain), "PATH:\"\xE4\"");
}

TEST(ComponentErrors, TranslationAndPropertyHelpers) {
    TVirtEng engine(testSessions());
    char out[4] = {};
    ansiToNativeBuf(&engine, "\xE4x", out, 2);
    EXPECT_EQ(std::string(out, 2), "\x84x");
    nativeToAnsiBuf(&engine, out, out, 2);
    EXPECT_EQ(std::string(out, 2), "\xE4x");
    EXPECT_EQ(ansiToNative(&engine, "abcdef", 3), "abc");
    EXPECT_TRUE(setBoolProp(&engine, &engine, TVirtEng::ClientDataProp, -5));
    EXPECT_EQ(getIntProp(&engine, &engine, TVirtEng::ClientDataProp), 5u);
    EXPECT_EQ(getIntProp(&engine, nullptr, 1), 0u);
}
