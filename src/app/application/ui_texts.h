#pragma once
// The windows' own words for what the layers below report as numbers, states and data: the
// production run's status labels and its errors, the album dialog's notice line, the store's
// errors and the questions before a deletion. The layers below app/ hold no user texts; the
// words the windows share with the command-line tool (errors and name notices) are made in
// texts/ and only taken over here as QStrings.

#include "production/run_error.h"
#include "production/run_observer.h"
#include "store/album_operations.h"
#include "store/list_operations.h"
#include "store/store_error.h"

#include <QString>

namespace vistello::app {

// The production dialog's status labels: Lguage (progress) and LOverTine (time).
struct RunStatusTexts {
    QString progress;
    QString time;
};
QString idleProgressText(); // "完成进度：0%", also at the start of a run
QString idleTimeText();     // "剩余时间：00:00", also after a run
QString runFinishedText();  // "相册生成完毕!", after every run that started
QString makingDiscText();   // while the disc images are being made
// By the notification's stage: done, preparing, file structure, encoding (percent and
// remaining time), any other.
RunStatusTexts progressTexts(const production::RunProgress& progress);

// The production run's result: the titles of its boxes, the question after a written file,
// the message when no file came of a run, the disc images that failed beside a written video,
// and a folder that no file manager could open.
QString runErrorTitle();   // "错误"
QString runDoneTitle();    // "完成"
QString runDoneQuestion(); // "文件生成完毕！请确定查看。"
QString runFailedText();   // "创建相册视频文件出错，请重新制作！"
QString discFailedText(const QString& reason);
QString folderNotOpenedText(const QString& videoFile);

// The message when synchronisation is asked for with too little music.
QString musicTooShortText();
// The words for a run that failed or was refused.
QString runErrorText(const production::RunError& error);

// A store failure: what was being done, the file and the system's reason, such as
// 无法创建文件夹“/home/a/旅行”：文件已存在.
QString storeErrorText(const store::StoreError& error);

// An error that no window handler caught: a fault of the program, to be reported.
QString internalErrorText(const QString& error);

// The album dialog's notice line for a typed name, and for one too long for its record.
QString newNameNotice(store::NewNameCheck check);
QString shortenedNameNotice(const QString& shortenedName);
// The question before an album with pictures and/or songs is deleted; empty for an empty album.
QString deleteAlbumQuestion(int pictureCount, int songCount);
// The question before every entry of a list is deleted, with their number.
QString deleteAllQuestion(store::MediaList list, int count);

} // namespace vistello::app
