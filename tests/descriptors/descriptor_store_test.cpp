#include "host/descriptors/descriptor_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/lib/handle_suite.h"

namespace gridsmith::hosting {
namespace {

using host::FourCC;

class DescriptorStoreTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(store_.OpenTokens(), 0);
        EXPECT_TRUE(handles_.Misuses().empty());
    }

    host::PIReadDescriptor Open(const Descriptor& d, host::DescriptorKeyID* keys = nullptr) {
        EXPECT_TRUE(store_.Offer(d));
        return read().openReadDescriptorProc(store_.Parameters()->descriptor, keys);
    }
    host::ReadDescriptorProcs& read() { return store_.ReadProcs(); }
    host::WriteDescriptorProcs& write() { return store_.WriteProcs(); }

    hosting::HandleSuite handles_;
    DescriptorStore store_{handles_.Procs()};
};

TEST_F(DescriptorStoreTest, DeliversKeysInOrderAndMarksTheCallersList) {
    host::DescriptorKeyID keys[] = {FourCC("colS"), FourCC("rowS"), FourCC("rowZ"), FourCC("rowS"),
                                    0};
    auto reader = Open(
        {{FourCC("rowS"), 4}, {FourCC("filB"), true}, {FourCC("rowZ"), std::string("x")}}, keys);
    ASSERT_NE(reader, nullptr);

    host::DescriptorKeyID key = 0;
    host::DescriptorTypeID type = 0;
    int32_t flags = -1;
    const std::pair<uint32_t, uint32_t> expected[] = {{FourCC("rowS"), host::typeInteger},
                                                      {FourCC("filB"), host::typeBoolean},
                                                      {FourCC("rowZ"), host::typeChar}};
    for (const auto& [k, t] : expected) {
        ASSERT_TRUE(read().getKeyProc(reader, &key, &type, &flags));
        EXPECT_EQ(key, k);
        EXPECT_EQ(type, t);
        EXPECT_EQ(flags, 0);
    }
    EXPECT_FALSE(read().getKeyProc(reader, &key, &type, &flags));
    const host::DescriptorKeyID marked[] = {FourCC("colS"), host::typeNull, host::typeNull,
                                            host::typeNull, 0};
    EXPECT_TRUE(std::equal(std::begin(keys), std::end(keys), std::begin(marked)));
    EXPECT_EQ(read().closeReadDescriptorProc(reader), host::noErr);
}

TEST_F(DescriptorStoreTest, ValuesAreReadAsTheirOwnTypeOnly) {
    auto reader = Open({{FourCC("rowS"), 4}, {FourCC("rowZ"), std::string("abc")}});
    host::DescriptorKeyID key;
    host::DescriptorTypeID type;
    int32_t flags;
    int32_t number = 0;
    ASSERT_TRUE(read().getKeyProc(reader, &key, &type, &flags));
    EXPECT_EQ(read().getIntegerProc(reader, &number), host::noErr);
    EXPECT_EQ(number, 4);
    EXPECT_EQ(read().getIntegerProc(reader, nullptr), host::paramErr);

    ASSERT_TRUE(read().getKeyProc(reader, &key, &type, &flags));
    host::Str255 text;
    std::memset(text, 0xAA, sizeof text);
    EXPECT_EQ(read().getStringProc(reader, &text), host::noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 5), "\3abc\xAA");  // no terminator
    EXPECT_EQ(read().getIntegerProc(reader, &number), host::paramErr);

    // The wrong-type error is sticky: close reports it.
    EXPECT_EQ(read().closeReadDescriptorProc(reader), host::paramErr);
}

TEST_F(DescriptorStoreTest, ForeignTokensAreRefused) {
    auto* foreign = reinterpret_cast<host::PIReadDescriptor>(&store_);
    int32_t number;
    EXPECT_FALSE(read().getKeyProc(foreign, nullptr, nullptr, nullptr));
    EXPECT_EQ(read().getIntegerProc(foreign, &number), host::paramErr);
    EXPECT_EQ(read().closeReadDescriptorProc(foreign), host::paramErr);
    EXPECT_EQ(write().putIntegerProc(reinterpret_cast<host::PIWriteDescriptor>(&store_), 1, 1),
              host::paramErr);
}

TEST_F(DescriptorStoreTest, WritesCollectPutsAndHandBackAHandle) {
    auto writer = write().openWriteDescriptorProc();
    const uint8_t text[] = {2, 'a', 'b', 'c'};
    write().putIntegerProc(writer, FourCC("rowS"), 1);
    write().putBooleanProc(writer, FourCC("filB"), 7);
    write().putStringProc(writer, FourCC("rowZ"), text);
    write().putIntegerProc(writer, FourCC("rowS"), 2);  // replaces
    host::PIDescriptorHandle handle = nullptr;
    ASSERT_EQ(write().closeWriteDescriptorProc(writer, &handle), host::noErr);
    store_.Parameters()->descriptor = handle;

    const Descriptor expected = {
        {FourCC("rowS"), 2}, {FourCC("filB"), true}, {FourCC("rowZ"), std::string("ab")}};
    EXPECT_EQ(store_.TakeRecorded(), expected);
    EXPECT_EQ(handles_.LiveHandles(), 0);

    EXPECT_EQ(write().closeWriteDescriptorProc(write().openWriteDescriptorProc(), nullptr),
              host::paramErr);
    store_.Faults().closeWriteError = host::memFullErr;
    EXPECT_EQ(write().closeWriteDescriptorProc(write().openWriteDescriptorProc(), &handle),
              host::memFullErr);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(handles_.LiveHandles(), 0);
}

}  // namespace
}  // namespace gridsmith::hosting
