#pragma once
// The figures the production dialog shows before a run: the album's picture and music totals
// as time texts, where the preview box sits for a frame size, and where a video is saved by
// default.

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::app {

// "hh 时 mm 分 ss 秒": hours, minutes and seconds with at least two digits each; hours take as
// many digits as they need. Negative counts read as 0.
QString SecondsToTimeText(std::int64_t seconds);

// PictureSeconds: the sum over the open album's pictures of StayTime + 2 (the 2 seconds stand
// for the picture's transition). A negative StayTime counts as 0, as the run takes it.
std::int64_t PictureSeconds(const store::AlbumStore& album);
// MusicSeconds: the sum of the open album's songs' PlayTime.
std::int64_t MusicSeconds(const store::AlbumStore& album);

// The preview box inside a panel: the largest box with the frame's proportions, its computed
// side rounded to the nearest integer with halves going to the even neighbour, centred (the
// left and top offsets round down).
QRect PreviewBoxRect(QSize panel, QSize frame);

// The folder a new video goes to: the user's videos folder, created when missing, else the
// home folder. Always ends in a separator.
QString DefaultOutputFolder();

} // namespace vistello::app
