#pragma once

// Which brief and entry commands are enabled, decided from the state of the active brief window.
// The main window's menus and tool buttons and the brief window's own menus ask the same rule, so
// a command is never offered in one place and refused in another.

namespace gl {

struct BriefState {
  bool HasEntries = false;
  bool HasSelection = false;
  bool HasArchive = false;  // at least one generated run to show
  bool Generating = false;
  bool HasClip = false;  // the entry holder has been filled
  bool CanRun = false;   // a run can be started from the desktop
};

struct BriefCommands {
  bool AddEntry = false;
  bool DeleteEntry = false;
  bool Cut = false;
  bool Copy = false;
  bool Paste = false;
  bool WebSetup = false;  // opens read-only while generating
  bool FetchPage = false;
  bool BriefSetup = false;  // opens read-only while generating
  bool ShowBrief = false;
  bool Generate = false;
  bool Print = false;
  bool Sort = false;
  bool SaveAs = false;
  bool Close = false;
};

// A run makes its brief read-only: everything that changes the brief or its file name is off
// until it ends, and what it only shows stays on.
constexpr BriefCommands CommandsFor(const BriefState& state) {
  const bool editable = !state.Generating;
  BriefCommands commands;
  commands.AddEntry = editable;
  commands.DeleteEntry = editable && state.HasSelection;
  commands.Cut = editable && state.HasSelection;
  commands.Copy = state.HasSelection;
  commands.Paste = editable && state.HasClip;
  commands.WebSetup = state.HasSelection;
  commands.FetchPage = state.HasSelection;
  commands.BriefSetup = true;
  commands.ShowBrief = state.HasArchive;
  commands.Generate = editable && state.HasEntries && state.CanRun;
  commands.Print = state.HasEntries;
  commands.Sort = editable && state.HasEntries;
  commands.SaveAs = editable;
  commands.Close = editable;
  return commands;
}

}  // namespace gl
