#pragma once
// Chinese display names of the transition effects, shared by the picture list, the picture
// editor and the command-line tool.

#include <string>
#include <string_view>

namespace vistello::effects {

// Number of transitions in the catalogue; effect number 0 stands for a random choice.
inline constexpr int kEffectCount = 105;

// Display name of effect 0..105 (UTF-8); any other number shows as "000 随机效果", the way a
// record with an out-of-range effect is shown in the picture list.
std::string_view EffectName(int effectNumber);

// The picture editor's list text: the number in three digits, a blank and the name
// ("000 随机效果" .. "105 星形顺时针旋转"). effectNumber must lie in 0..105.
std::string EffectListText(int effectNumber);

} // namespace vistello::effects
