#pragma once
// The message boxes live with the dialogs, which ask their questions through them too.
#include "ui/message_box.hpp"
