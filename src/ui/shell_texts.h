#pragma once

// Texts of the main window and brief windows that more than one place shows.

namespace gl::shell_texts {

inline constexpr const char* kProgramCaption = "Gleaner-Light";

// Commands that both the main window's menus and a brief window's menus carry.
inline constexpr const char* kCut = "Cu&t";
inline constexpr const char* kCopy = "&Copy";
inline constexpr const char* kPaste = "&Paste";
inline constexpr const char* kAddEntry = "&Add Entry";
inline constexpr const char* kDeleteEntry = "&Delete Entry";
inline constexpr const char* kWebSetup = "&Web Setup...";
inline constexpr const char* kBriefSetup = "&Brief Setup...";
inline constexpr const char* kShowBrief = "&Show Brief";

// The verbs of the deletion question.
inline constexpr const char* kDeleteVerb = "Delete";
inline constexpr const char* kCutVerb = "Cut";

// A print job that the printer, or the file printed to, did not take.
inline constexpr const char* kPrintErrorTitle = "Printing Error";
inline constexpr const char* kPrintErrorText = "Gleaner-Light could not print this brief.";

inline constexpr const char* kAlreadyOpenTitle = "Brief already open";
inline constexpr const char* kAlreadyOpenText =
    "This brief is already open. Gleaner-Light cannot open two copies of the same brief.";

// The questions of the progress window's Abort and Skip buttons; closing a brief window or the
// program during a run asks the first as well.
inline constexpr const char* kStopBriefTitle = "Stop Brief?";
inline constexpr const char* kStopBriefText = "Are you sure you want to stop this brief?";
inline constexpr const char* kSkipEntryTitle = "Skip Entry?";
inline constexpr const char* kSkipEntryText = "Are you sure you want to skip this entry?";

}  // namespace gl::shell_texts
