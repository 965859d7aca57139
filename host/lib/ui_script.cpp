#include "host/lib/ui_script.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace gridsmith::hosting {
namespace {

// Words of one line: bare words, or double-quoted texts with \" and \\.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            for (++i;; ++i) {
                if (i >= line.size()) return error = "a text has no closing quote", false;
                if (line[i] == '"') break;
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
                word += line[i];
            }
            ++i;
            words.push_back(word);
        } else {
            const size_t end = line.find_first_of(" \t\r#", i);
            words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return true;
}

// Verb and the number of arguments it takes.
const std::map<std::string, std::pair<size_t, size_t>>& Verbs() {
    static const std::map<std::string, std::pair<size_t, size_t>> verbs = {
        {"wait-dialog", {0, 1}},   {"set", {2, 2}},           {"type", {2, 2}},
        {"choose", {2, 2}},        {"tick", {2, 2}},          {"click", {1, 1}},
        {"press", {2, 2}},         {"move", {2, 2}},          {"release", {2, 2}},
        {"expect-text", {2, 2}},   {"expect-enabled", {2, 2}}, {"expect-checked", {2, 2}},
        {"expect-selection", {2, 2}}, {"expect-focus", {1, 1}}, {"expect-message", {1, 1}},
        {"file", {1, 1}},          {"capture", {1, 1}},       {"wait-close", {0, 0}},
        {"help-button", {0, 0}},   {"help", {1, 1}},          {"expect-tip", {1, 1}},
        {"enter-over", {0, 0}},    {"leave-over", {0, 0}},
    };
    return verbs;
}

bool ParseNumber(const std::string& word, int& value) {
    if (word == "OK") return value = 1, true;
    if (word == "CANCEL") return value = 2, true;
    if (word.empty()) return false;
    char* end = nullptr;
    const long parsed = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || parsed < -100000 || parsed > 100000) return false;
    value = int(parsed);
    return true;
}

bool ParseYesNo(const std::string& word, bool& value) {
    if (word == "yes" || word == "on") return value = true, true;
    if (word == "no" || word == "off") return value = false, true;
    return false;
}

// Which arguments of a verb are numbers, and which are yes/no.
bool CheckArguments(const ScriptStep& step, std::string& error) {
    const std::string& verb = step.verb;
    const bool firstIsNumber = verb != "wait-dialog" && verb != "expect-message" && verb != "file" &&
                               verb != "capture" && verb != "wait-close" &&
                               verb != "help-button" && verb != "expect-tip" && verb != "enter-over" &&
                               verb != "leave-over";
    const bool secondIsNumber = verb == "choose" || verb == "press" || verb == "move" ||
                                verb == "release" || verb == "expect-selection";
    const bool secondIsFlag = verb == "tick" || verb == "expect-enabled" || verb == "expect-checked";
    int number = 0;
    bool flag = false;
    if (firstIsNumber && !ParseNumber(step.args[0], number))
        return error = "'" + step.args[0] + "' is not a number", false;
    if (secondIsNumber && !ParseNumber(step.args[1], number))
        return error = "'" + step.args[1] + "' is not a number", false;
    if (secondIsFlag && !ParseYesNo(step.args[1], flag))
        return error = "'" + step.args[1] + "' is not yes or no", false;
    return true;
}

int Number(const std::string& word) {
    int value = 0;
    ParseNumber(word, value);
    return value;
}

bool Flag(const std::string& word) {
    bool value = false;
    ParseYesNo(word, value);
    return value;
}

std::string Where(const ScriptStep& step) { return "line " + std::to_string(step.line) + ": "; }

bool Expect(DialogUser& user, const ScriptStep& step, const std::string& seen, const std::string& wanted) {
    if (seen == wanted) return true;
    user.Fail(Where(step) + step.verb + " " + step.args[0] + ": wanted \"" + wanted + "\", the dialog shows \"" +
              seen + "\"");
    return false;
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

bool PlayStep(const ScriptStep& step, DialogUser& user) {
    const std::string& verb = step.verb;
    const auto& a = step.args;
    if (verb == "wait-dialog") return user.WaitForDialog(a.empty() ? std::string() : a[0]);
    if (verb == "set") return user.SetText(Number(a[0]), a[1]);
    if (verb == "type") return user.Type(Number(a[0]), a[1]);
    if (verb == "choose") return user.Choose(Number(a[0]), Number(a[1]));
    if (verb == "tick") return user.Tick(Number(a[0]), Flag(a[1]));
    if (verb == "click") return user.Click(Number(a[0]));
    if (verb == "press") return user.Press(Number(a[0]), Number(a[1]));
    if (verb == "move") return user.Move(Number(a[0]), Number(a[1]));
    if (verb == "release") return user.Release(Number(a[0]), Number(a[1]));
    if (verb == "expect-text") return Expect(user, step, user.Text(Number(a[0])), a[1]);
    if (verb == "expect-enabled")
        return Expect(user, step, YesNo(user.Enabled(Number(a[0]))), YesNo(Flag(a[1])));
    if (verb == "expect-checked")
        return Expect(user, step, YesNo(user.Checked(Number(a[0]))), YesNo(Flag(a[1])));
    if (verb == "expect-selection")
        return Expect(user, step, std::to_string(user.Selection(Number(a[0]))), a[1]);
    if (verb == "expect-focus") return Expect(user, step, std::to_string(user.Focus()), std::to_string(Number(a[0])));
    if (verb == "expect-message") {
        MessageBoxSeen seen;
        if (!user.AnswerMessageBox(seen)) return false;
        if (seen.text == a[0]) return true;
        user.Fail(Where(step) + "wanted the message \"" + a[0] + "\", the box says \"" + seen.text + "\"");
        return false;
    }
    if (verb == "file") return user.AnswerFileDialog(a[0]);
    if (verb == "capture") return user.Capture(a[0]);
    if (verb == "help-button") return user.HelpButton();
    if (verb == "help") return user.HelpOn(Number(a[0]));
    if (verb == "enter-over") return user.EnterWindowOver();
    if (verb == "leave-over") return user.LeaveWindowOver(), true;
    if (verb == "expect-tip") {
        const TipSeen tip = user.Tip();
        if (tip.visible && tip.text == a[0]) return true;
        user.Fail(Where(step) + "wanted the help bubble \"" + a[0] + "\", it " +
                  (tip.visible ? "says \"" + tip.text + "\"" : std::string("is not shown")));
        return false;
    }
    return user.WaitForClose();
}

}  // namespace

bool ParseUiScript(const std::string& text, UiScript& script, std::string& error) {
    script.steps.clear();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::vector<std::string> words;
        std::string problem;
        if (!SplitWords(line, words, problem)) return error = "line " + std::to_string(number) + ": " + problem, false;
        if (words.empty()) continue;
        ScriptStep step{words[0], {words.begin() + 1, words.end()}, number};
        const auto verb = Verbs().find(step.verb);
        if (verb == Verbs().end())
            return error = "line " + std::to_string(number) + ": unknown step '" + step.verb + "'", false;
        const auto [least, most] = verb->second;
        if (step.args.size() < least || step.args.size() > most)
            return error = "line " + std::to_string(number) + ": '" + step.verb + "' takes " +
                           (least == most ? std::to_string(least) : std::to_string(least) + " or " + std::to_string(most)) +
                           " argument" + (most == 1 ? "" : "s"),
                   false;
        if (!CheckArguments(step, problem)) return error = "line " + std::to_string(number) + ": " + problem, false;
        script.steps.push_back(std::move(step));
    }
    return true;
}

bool LoadUiScript(const std::string& path, UiScript& script, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return error = "cannot read the script " + path, false;
    std::ostringstream text;
    text << file.rdbuf();
    if (!ParseUiScript(text.str(), script, error)) return error = path + ": " + error, false;
    return true;
}

bool PlayUiScript(const UiScript& script, DialogUser& user) {
    for (const ScriptStep& step : script.steps)
        if (!PlayStep(step, user)) return false;
    return true;
}

}  // namespace gridsmith::hosting
