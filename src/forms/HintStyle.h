#pragma once

// The application's hint timing: how long the pointer rests on a control before its hint shows,
// and how long a hint stays. Start-up applies the preferences, the Options window changes them
// at once. The show delay is the tool-tip wake-up delay that every widget's style answers (a
// proxy over the application's style); a hint hides the hide delay after it was asked for, and
// for as long again the next control's hint comes without the show delay (the style's
// fall-asleep delay).
void ApplyHintTiming(int showDelayMs, int hideDelayMs);
