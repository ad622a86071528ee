// Subcommands over the picture decoders and the picture import: decode, import-pictures.

#include "cli/cli.h"
#include "cli/import_progress.h"
#include "media/message_sink.h"
#include "media/picture_file.h"
#include "media/picture_import.h"
#include "media/picture_order.h"
#include "store/album_store.h"
#include "store/picture_motion.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace vistello::cli {

namespace {

QString fromLocal(const std::string& argument) {
    return QFile::decodeName(QByteArray::fromStdString(argument));
}

} // namespace

int runDecode(Context& context) {
    const Command& command = commandNamed("decode");
    if (context.args.size() != 3 || context.args[1] != "--out")
        return usageError(command);
    const QString input = fromLocal(context.args[0]);
    const QString output = fromLocal(context.args[2]);
    const QString format = QFileInfo(output).suffix().toLower();
    if (format != QLatin1String("png") && format != QLatin1String("bmp") && format != QLatin1String("ppm")) {
        printMessage("the output file must end in .png, .bmp or .ppm");
        return kExitUsage;
    }
    if (!QFileInfo(input).isFile()) {
        printMessage("no picture file \"" + context.args[0] + "\"");
        return kExitFailure;
    }
    media::StderrMessageSink messages;
    const QImage picture = media::LoadPictureFile(input, messages);
    if (picture.isNull()) {
        printMessage("\"" + context.args[0] + "\" gave no picture");
        return kExitFailure;
    }
    QImageWriter writer(output, format.toLatin1());
    if (!writer.write(picture)) {
        printMessage("cannot write \"" + context.args[2] + "\": " + writer.errorString().toStdString());
        return kExitFailure;
    }
    printJson(QJsonObject{
        {"file", input}, {"width", picture.width()}, {"height", picture.height()}, {"out", output}});
    return kExitOk;
}

int runImportPictures(Context& context) {
    // --order date|name puts the files in the order they were taken or by name; without it
    // they go in as given.
    std::optional<media::PictureOrder> order;
    std::size_t first = 0;
    if (!context.args.empty() && context.args[0] == "--order") {
        if (context.args.size() < 2 || (context.args[1] != "date" && context.args[1] != "name"))
            return usageError(commandNamed("import-pictures"));
        order = context.args[1] == "date" ? media::PictureOrder::ByDateTaken : media::PictureOrder::ByName;
        first = 2;
    }
    if (context.args.size() < first + 2)
        return usageError(commandNamed("import-pictures"));
    store::AlbumStore albums(context.root);
    if (openAlbumForImport(albums, context.args[first]) < 0)
        return kExitFailure;
    QStringList files;
    for (std::size_t i = first + 1; i < context.args.size(); ++i)
        files << fromLocal(context.args[i]);
    if (order)
        files = media::orderPictures(files, *order);
    std::vector<std::filesystem::path> paths;
    for (const QString& file : files)
        paths.emplace_back(QFile::encodeName(file).toStdString());
    const std::size_t before = albums.PicList.size();
    media::StderrMessageSink messages;
    store::ImportResult result;
    {
        StderrImportProgress progress;
        result = media::ImportPictures(albums, paths, progress, messages);
    }
    // As show prints them: each new picture with its motion, which an import never gives.
    const store::MotionTable motions = store::MotionTable::load(albums.AlbumPath());
    QJsonArray pictures;
    for (std::size_t i = before; i < albums.PicList.size(); ++i)
        pictures.append(pictureJson(albums.PicList[i], motions.get(albums.PicList[i].FileName.gbk())));
    printJson(pictures);
    if (result.skipped > 0)
        printMessage(std::to_string(result.skipped) + " file(s) could not be imported");
    return result.skipped > 0 ? kExitFailure : kExitOk;
}

} // namespace vistello::cli
