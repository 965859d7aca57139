#include "params/script_params.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>

#include "host/descriptors/descriptor_store.h"
#include "host/lib/handle_suite.h"
#ifndef _WIN32
#include "params/ansi_text_native.h"
#endif

namespace gridsmith {
namespace {

using host::FourCC;
using hosting::Descriptor;
using hosting::DescriptorStore;
using hosting::FindItem;
using hosting::TypeOf;

auto Fields(const TableParams& p) {
    return std::make_tuple(p.Rows, p.Cols, p.GridLineSize, p.GridLineType, p.BorderLineSize,
                           p.BorderLineType, p.FillBkGnd, p.DockBorder, p.LineOpaque, p.BackOpaque,
                           p.LineColor, p.FirstBackClr, p.BackClr, p.BackClr2,
                           std::u16string(p.RowSizes), std::u16string(p.ColSizes), p.TableWidth,
                           p.TableHeight, p.LeftMargin, p.TopMargin, p.Borders);
}

void SetList(char16_t (&field)[kSizeListCapacity], const std::u16string& text) {
    text.copy(field, kSizeListCapacity - 1);
    field[std::min<size_t>(text.size(), kSizeListCapacity - 1)] = u'\0';
}

// Every field away from its default, negative margins and lists included.
TableParams Distinctive() {
    TableParams p{};
    p.Rows = 12;
    p.Cols = 34;
    p.GridLineSize = 2;
    p.GridLineType = LineDashDot;
    p.BorderLineSize = 5;
    p.BorderLineType = LineDashDotDot;
    p.FillBkGnd = 0;
    p.DockBorder = 0;
    p.LineOpaque = 17;
    p.BackOpaque = 250;
    p.LineColor = 0x123456;
    p.FirstBackClr = 0xABCDEF;
    p.BackClr = 1;
    p.BackClr2 = 0xFFFFFF;
    SetList(p.RowSizes, u"10,20;30");
    SetList(p.ColSizes, u"5, 6");
    p.TableWidth = 640;
    p.TableHeight = 480;
    p.LeftMargin = -12;
    p.TopMargin = -34;
    p.Borders = BorderTop | BorderBottom;
    return p;
}

class ScriptParamsTest : public ::testing::Test {
protected:
    ScriptParamsTest() {
        record_.descriptorParameters = store_.Parameters();
        record_.handleProcs = handles_.Procs();
        ApplyDefaultParams(params_);
    }
    void TearDown() override {
        EXPECT_EQ(store_.OpenTokens(), 0);
        EXPECT_TRUE(handles_.Misuses().empty());
    }

    host::OSErr Read(const Descriptor& d) {
        store_.Offer(d);
        return ReadScriptParams(&record_, params_, show_);
    }
    host::PIDescriptorHandle Held() { return store_.Parameters()->descriptor; }

    hosting::HandleSuite handles_;  // outlives the store
    DescriptorStore store_{handles_.Procs()};
    host::FilterRecord record_{};
    TableParams params_{};
    int32_t show_ = 7;  // neither 0 nor 1: shows whether the reader decided
};

TEST_F(ScriptParamsTest, OnlyCountsKeepEveryOtherFieldButClearBorders) {
    params_ = Distinctive();
    TableParams expected = params_;
    expected.Rows = 7;
    expected.Cols = 9;
    expected.Borders = 0;

    EXPECT_EQ(Read({{FourCC("rowS"), 7}, {FourCC("colS"), 9}}), host::noErr);
    EXPECT_EQ(Fields(params_), Fields(expected));
    EXPECT_EQ(Held(), nullptr);
    EXPECT_EQ(handles_.LiveHandles(), 0);
}

TEST_F(ScriptParamsTest, OpacitiesKeepTheirLowByte) {
    EXPECT_EQ(Read({{FourCC("lioP"), 511}, {FourCC("bkoP"), 256}}), host::noErr);
    EXPECT_EQ(params_.LineOpaque, 255);
    EXPECT_EQ(params_.BackOpaque, 0);
}

TEST_F(ScriptParamsTest, UnknownKeyStopsReadingAndKeepsWhatWasRead) {
    EXPECT_EQ(Read({{FourCC("rowS"), 5}, {FourCC("zzzz"), 1}, {FourCC("colS"), 6}}), host::noErr);
    EXPECT_EQ(params_.Rows, 5);
    EXPECT_EQ(params_.Cols, 3);
}

TEST_F(ScriptParamsTest, ReadErrorsStopReadingAndTheCloseResultDecides) {
    // A value of the wrong type: the host's read error comes back from close.
    EXPECT_EQ(Read({{FourCC("rowS"), std::string("12")}, {FourCC("colS"), 6}}), host::paramErr);
    EXPECT_EQ(params_.Cols, 3);

    // A close error alone also fails the read, after the value was stored.
    store_.Faults().closeReadError = -19;
    EXPECT_EQ(Read({{FourCC("rowS"), 5}}), -19);
    EXPECT_EQ(params_.Rows, 5);
    EXPECT_EQ(handles_.LiveHandles(), 0);
}

TEST_F(ScriptParamsTest, CoercedValueIsStored) {
    store_.ReadProcs().getIntegerProc = [](host::PIReadDescriptor, int32_t* value) -> host::OSErr {
        *value = 9;
        return host::coercedParamErr;
    };
    EXPECT_EQ(Read({{FourCC("rowS"), 1}, {FourCC("colS"), 1}}), host::noErr);
    EXPECT_EQ(params_.Rows, 9);
    EXPECT_EQ(params_.Cols, 9);
}

TEST_F(ScriptParamsTest, PlayOptionsDecideTheDialog) {
    struct Case {
        int16_t play, record;
        bool readFails;
        int32_t expected;
    };
    const Case cases[] = {
        {host::plugInDialogSilent, host::plugInDialogOptional, true, 0},
        {host::plugInDialogSilent, host::plugInDialogRequired, false, 0},
        {host::plugInDialogDontDisplay, host::plugInDialogNone, false, 0},
        {host::plugInDialogDontDisplay, host::plugInDialogOptional, true, 1},
        {host::plugInDialogDisplay, host::plugInDialogOptional, false, 1},
        {host::plugInDialogDisplay, host::plugInDialogRequired, true, 1},
        {host::plugInDialogDisplay, host::plugInDialogNone, false, 0},
        {5, host::plugInDialogOptional, true, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "play " << c.play << " record " << c.record
                                          << (c.readFails ? " failing" : ""));
        show_ = 7;
        store_.SetPlay(c.play, c.record);
        store_.Faults().closeReadError = c.readFails ? host::paramErr : host::noErr;
        EXPECT_EQ(Read({{FourCC("rowS"), 5}}) != host::noErr, c.readFails);
        EXPECT_EQ(show_, c.expected);
    }
}

TEST_F(ScriptParamsTest, NoReaderFailsButStillDecidesAndLeavesTheDescriptorToTheHost) {
    store_.Faults().refuseOpenRead = true;
    store_.SetPlay(host::plugInDialogDontDisplay, host::plugInDialogOptional);
    EXPECT_EQ(Read({{FourCC("rowS"), 5}}), host::nilHandleErr);
    EXPECT_EQ(show_, 1);
    EXPECT_NE(Held(), nullptr);
    EXPECT_EQ(handles_.LiveHandles(), 1);
}

TEST_F(ScriptParamsTest, MissingDescriptorOrProceduresReadNothingAndLeaveTheDialogAlone) {
    store_.SetPlay(host::plugInDialogSilent, host::plugInDialogOptional);
    EXPECT_EQ(ReadScriptParams(&record_, params_, show_), host::nilHandleErr);  // none offered
    EXPECT_EQ(ReadScriptParams(nullptr, params_, show_), host::nilHandleErr);

    using R = host::ReadDescriptorProcs;
    const R full = store_.ReadProcs();
    const auto withoutProc = [&](auto member) {
        store_.ReadProcs() = full;
        store_.ReadProcs().*member = nullptr;
    };
    const std::function<void()> hosts[] = {
        [&] { withoutProc(&R::openReadDescriptorProc); },
        [&] { withoutProc(&R::closeReadDescriptorProc); },
        [&] { withoutProc(&R::getKeyProc); },
        [&] { withoutProc(&R::getIntegerProc); },
        [&] { withoutProc(&R::getBooleanProc); },
        [&] { withoutProc(&R::getStringProc); },
        [&] {
            store_.ReadProcs() = full;
            store_.ReadProcs().numReadDescriptorProcs = 14;
        },
        [&] {
            store_.ReadProcs() = full;
            store_.ReadProcs().numReadDescriptorProcs = 0;
        },
        [&] {
            store_.ReadProcs() = full;
            store_.Parameters()->readDescriptorProcs = nullptr;
        },
    };
    for (size_t i = 0; i < std::size(hosts); ++i) {
        SCOPED_TRACE(i);
        hosts[i]();
        EXPECT_EQ(Read({{FourCC("rowS"), 5}}), host::nilHandleErr);
        EXPECT_EQ(params_.Rows, 4);
        EXPECT_EQ(show_, 7);
        EXPECT_NE(Held(), nullptr);  // still the host's
    }
    record_.descriptorParameters = nullptr;
    EXPECT_EQ(ReadScriptParams(&record_, params_, show_), host::nilHandleErr);
    EXPECT_EQ(params_.Borders, 0);
}

TEST_F(ScriptParamsTest, WithoutADisposeProcedureTheHostKeepsItsDescriptor) {
    host::HandleProcs newOnly = *handles_.Procs();
    newOnly.numHandleProcs = 1;
    for (host::HandleProcs* handles : {&newOnly, static_cast<host::HandleProcs*>(nullptr)}) {
        record_.handleProcs = handles;
        EXPECT_EQ(Read({{FourCC("rowS"), 5}}), host::noErr);
        const host::PIDescriptorHandle kept = Held();
        EXPECT_NE(kept, nullptr);
        // Replacing it would lose the host's handle: the write refuses instead.
        EXPECT_EQ(WriteScriptParams(&record_, params_), host::nilHandleErr);
        EXPECT_EQ(Held(), kept);
    }
    record_.handleProcs = handles_.Procs();
    EXPECT_EQ(Read({}), host::noErr);  // consumed: nothing left to replace
    record_.handleProcs = &newOnly;
    EXPECT_EQ(WriteScriptParams(&record_, params_), host::noErr);
    EXPECT_NE(Held(), nullptr);
}

TEST_F(ScriptParamsTest, WriteThenReadRestoresEveryField) {
    params_ = Distinctive();
#ifndef _WIN32
    SetList(params_.ColSizes, u"5,\u00e9");  // through the system code page, 1252 here
#endif
    store_.Offer({{FourCC("rowS"), 1}});  // the previous descriptor, disposed by the write
    store_.Parameters()->recordInfo = host::plugInDialogNone;

    EXPECT_EQ(WriteScriptParams(&record_, params_), host::noErr);
    EXPECT_EQ(store_.Parameters()->recordInfo, host::plugInDialogOptional);
    EXPECT_EQ(handles_.LiveHandles(), 1);
    const auto recorded = store_.TakeRecorded();
    ASSERT_TRUE(recorded);
    ASSERT_EQ(recorded->size(), size_t(kScriptKeyCount));
    for (int i = 0; i < kScriptKeyCount; ++i) {
        EXPECT_EQ((*recorded)[i].key, kScriptKeys[i].key);
        EXPECT_EQ(TypeOf((*recorded)[i].value), kScriptKeys[i].type);
    }
    EXPECT_EQ(*FindItem(*recorded, FourCC("gdlC")),
              (hosting::DescriptorItem{FourCC("gdlC"), 0x123456}));
#ifndef _WIN32
    EXPECT_EQ(std::get<std::string>(FindItem(*recorded, FourCC("colZ"))->value), "5,\xE9");
#endif

    TableParams read{};
    store_.Offer(*recorded);
    EXPECT_EQ(ReadScriptParams(&record_, read, show_), host::noErr);
    EXPECT_EQ(Fields(read), Fields(params_));
}

TEST_F(ScriptParamsTest, FullLengthListTravelsUnchanged) {
    std::u16string list;
    for (int i = 0; list.size() < 255; ++i)
        list += u"1,22,"[i % 5];
    SetList(params_.RowSizes, list);
    ASSERT_EQ(WriteScriptParams(&record_, params_), host::noErr);
    const auto recorded = store_.TakeRecorded();
    ASSERT_TRUE(recorded);
    EXPECT_EQ(std::get<std::string>(FindItem(*recorded, FourCC("rowZ"))->value),
              std::string(list.begin(), list.end()));

    SetList(params_.RowSizes, u"other");
    store_.Offer(*recorded);
    EXPECT_EQ(ReadScriptParams(&record_, params_, show_), host::noErr);
    EXPECT_EQ(std::u16string(params_.RowSizes), list);
}

#ifndef _WIN32
TEST_F(ScriptParamsTest, ListBeyondAPascalStringIsCutBetweenCharacters) {
    struct CodePage {
        CodePage() { SetSystemAnsiCodePage(936); }
        ~CodePage() { SetSystemAnsiCodePage(1252); }
    } gbk;
    SetList(params_.RowSizes, std::u16string(200, u'\u4E2D'));  // 400 bytes in GBK
    ASSERT_EQ(WriteScriptParams(&record_, params_), host::noErr);
    const auto recorded = store_.TakeRecorded();
    ASSERT_TRUE(recorded);
    std::string expected;
    for (int i = 0; i < 127; ++i)
        expected += "\xD6\xD0";
    EXPECT_EQ(std::get<std::string>(FindItem(*recorded, FourCC("rowZ"))->value), expected);

    store_.Offer(*recorded);
    EXPECT_EQ(ReadScriptParams(&record_, params_, show_), host::noErr);
    EXPECT_EQ(std::u16string(params_.RowSizes), std::u16string(127, u'\u4E2D'));
}
#endif

TEST_F(ScriptParamsTest, WriteFailuresLeaveNoStrayHandle) {
    store_.Offer({{FourCC("rowS"), 1}});
    store_.Faults().refuseOpenWrite = true;
    EXPECT_EQ(WriteScriptParams(&record_, params_), host::errMissingParameter);
    EXPECT_NE(Held(), nullptr);  // untouched

    store_.Faults().refuseOpenWrite = false;
    store_.Faults().closeWriteError = host::memFullErr;
    EXPECT_EQ(WriteScriptParams(&record_, params_), host::memFullErr);
    EXPECT_EQ(Held(), nullptr);
    EXPECT_EQ(handles_.LiveHandles(), 0);
}

TEST_F(ScriptParamsTest, WriteCopesWithFewerProcedures) {
    store_.WriteProcs().numWriteDescriptorProcs = 2;  // open and close only
    EXPECT_EQ(WriteScriptParams(&record_, params_), host::noErr);
    const auto recorded = store_.TakeRecorded();
    ASSERT_TRUE(recorded);
    EXPECT_TRUE(recorded->empty());

    store_.WriteProcs().numWriteDescriptorProcs = 1;
    EXPECT_EQ(WriteScriptParams(&record_, params_), host::nilHandleErr);
    store_.Parameters()->writeDescriptorProcs = nullptr;
    EXPECT_EQ(WriteScriptParams(&record_, params_), host::nilHandleErr);
    EXPECT_EQ(WriteScriptParams(nullptr, params_), host::nilHandleErr);
}

}  // namespace
}  // namespace gridsmith
