#pragma once
// The one conversion of a computed double into an int: truncated toward
// zero like a cast, with NaN giving 0 and values beyond the int range the
// nearest end of it, where a plain cast would be undefined.
int ToIntChecked(double value);
