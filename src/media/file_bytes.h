#pragma once
// The bytes of a file for a decoder: mapped when the system allows it, so a large photo is
// not copied into memory once more, otherwise read whole. Empty when the file cannot be read.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace vistello::media {

class FileBytes {
  public:
    explicit FileBytes(const QString& fileName) : file_(fileName) {
        if (!file_.open(QIODevice::ReadOnly))
            return;
        const qint64 size = file_.size();
        if (uchar* mapped = size > 0 ? file_.map(0, size) : nullptr) {
            view_ = QByteArrayView(mapped, size);
        } else {
            contents_ = file_.readAll();
            view_ = contents_;
        }
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    QByteArrayView bytes() const { return view_; }

  private:
    QFile file_;
    QByteArray contents_;
    QByteArrayView view_;
};

} // namespace vistello::media
