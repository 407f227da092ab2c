// The Browse button: choosing a rule's sound file.
#pragma once

#include "platform/rule_list.h"

// Asks for a WAV file; a chosen one is previewed once, becomes the rule's
// sound and is saved. A cancel or a file that does not exist changes nothing;
// a file that is not a WAV file, or whose path holds a control byte, is
// refused with a message box.
void ChooseSound(Rule rule);
