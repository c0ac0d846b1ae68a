// The first step of most main-window commands: a frequency still being typed in the channel
// grid's inline editor is committed before the command runs, so the command sees it.
#pragma once

#include <functional>

// The channel grid's commit of the inline editor's text (HandleGridEditKey with Enter). The
// channel table registers it; until then a visible inline editor is only hidden.
using GridEditCommit = std::function<void()>;
void SetGridEditCommit(GridEditCommit commit);

// When frmMain's txtChannelInput is visible, runs the registered commit; otherwise
// SkipLeaveCellCommit := 0. Either way txtChannelInput is hidden afterwards.
void CommitPendingGridEdit();
