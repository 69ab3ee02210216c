#pragma once
// The main window's notice of received changes that could not be stored and were set
// aside (the strip "set_aside_notice" of HomePage.xml): the oldest one's name and
// reason, with retry and discard. Without it a record missing on this device would
// go unnoticed.
#include "store/LocalStore.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

// Shows the notice when changes are set aside, hides it when none is.
void ShowSetAside(WindowImplBase& window, LocalStore& store);
// Retries (or discards) the change the notice names and shows the notice again; a
// failure is shown in a message box. True when a retried change was stored, so the
// lists need refreshing.
bool OnSetAsideAction(WindowImplBase& window, LocalStore& store, bool retry);

}  // namespace kivtal
