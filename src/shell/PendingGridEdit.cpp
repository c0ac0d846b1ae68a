#include "shell/PendingGridEdit.h"

#include <utility>

#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "platform/TextBox.h"

namespace {
GridEditCommit& RegisteredCommit() {
  static GridEditCommit commit;
  return commit;
}
}  // namespace

void SetGridEditCommit(GridEditCommit commit) { RegisteredCommit() = std::move(commit); }

void CommitPendingGridEdit() {
  cps::TextBox& input = *frmMain().txtChannelInput;
  if (input.Visible()) {
    if (RegisteredCommit()) RegisteredCommit()();
  } else {
    SkipLeaveCellCommit = 0;
  }
  input.SetVisible(false);
}
