// Action files: a recorded descriptor with its play options, as text that
// people can read and edit.
//
//   # comments and blank lines are ignored
//   play dont-display          display | dont-display | silent
//   record optional            optional | required | none
//   rowS long 4                key, type, value: one descriptor item per line
//   gdlC long 0xD7B395         integers in signed decimal or 0x hexadecimal
//   filB bool true             true | false
//   rowZ TEXT "10,20"          bytes in double quotes: \" \\ \n \r \t \xHH
//
// A key is its four characters, or 0xHHHHHHHH when they are not all printable
// (or the first is '#'). Items keep the file's order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/descriptors/descriptor.h"

namespace gridsmith::hosting {

struct ActionFile {
    int16_t playInfo = host::plugInDialogDontDisplay;  // a replay by default
    int16_t recordInfo = host::plugInDialogOptional;
    Descriptor descriptor;

    bool operator==(const ActionFile& other) const {
        return playInfo == other.playInfo && recordInfo == other.recordInfo &&
               descriptor == other.descriptor;
    }
};

// "display", "dont-display", "silent" (also for --play).
bool ParsePlayOption(std::string_view text, int16_t& playInfo);
// "optional", "required", "none".
bool ParseRecordOption(std::string_view text, int16_t& recordInfo);

// False with a message naming the line (and the key) on bad input.
bool ParseActionFile(std::string_view text, ActionFile& out, std::string& error);
std::string FormatActionFile(const ActionFile& action);

bool LoadActionFile(const std::string& path, ActionFile& out, std::string& error);
bool SaveActionFile(const std::string& path, const ActionFile& action, std::string& error);

// Shared with the parameter-file reader: whole-file reads and writes with a
// message naming the path on failure. A write replaces the file whole or
// leaves it as it was.
bool ReadTextFile(const std::string& path, std::string& text, std::string& error);
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace gridsmith::hosting
