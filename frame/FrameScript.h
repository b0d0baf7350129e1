#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A script of steps for fdt-frame --script: one step a line, run in order once the window
// has settled. Blank lines and lines starting with '#' are skipped; a word starting with '#'
// outside quotes ends the line. An argument is a word or a text in double quotes (a backslash
// before " or another backslash inside quotes stands for that character).
//
//   view ID                    show the view: its navigation entry, else a view request
//   press "Label"              click the visible, enabled push button with that text
//   type "Field" "text"        type into the line or text edit or spin box with that label
//                              (the text of its buddy label), placeholder or accessible name
//   choose "Combo" "Entry"     select the entry of the combo box with that label
//   wait idle                  until the DTM has no reply on its way and no busy indicator
//                              runs, for a quiet period
//   wait MS                    MS milliseconds
//   screenshot FILE            save a picture of the window
struct SScriptStep {
    enum class EAction { View, Press, Type, Choose, WaitIdle, WaitTime, Screenshot };

    int line = 0;     // 1-based
    std::string text; // the line as written, without surrounding blanks
    EAction action = EAction::View;
    std::vector<std::string> arguments; // labels, texts, the file
    int number = 0;                     // the view id or the milliseconds

    // `line 3 (press "Start")`: how messages name the step.
    std::string Describe() const;
};

// Reads every line before any step runs. Throws CFrameError (EFrameExit::AutomationFailed)
// naming the first line that is malformed: unknown step, missing or extra arguments, an
// unclosed quote, a number that is none.
std::vector<SScriptStep> ParseFrameScript(const std::string& script);
// The same for a file; a file that cannot be read fails the same way.
std::vector<SScriptStep> ReadFrameScript(const std::filesystem::path& file);
