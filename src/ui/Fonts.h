#pragma once

namespace talvor {

// The windows ask for 宋体 (SimSun); both names map to the Song-style CJK font installed with
// the program, and every window starts in 宋体 9 pt.
void installSongFont();

}  // namespace talvor
