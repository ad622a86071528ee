#include "production/disc_image.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QXmlStreamWriter>

#include <cmath>
#include <cstdio>

namespace vistello::production {

namespace {

// The name of `video` with its extension replaced by `suffix`.
std::filesystem::path besideVideo(const std::filesystem::path& video, const std::string& suffix) {
    std::filesystem::path result = video;
    result.replace_extension();
    result += suffix;
    return result;
}

QString qtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

bool isPal(const VideoFormat& format) {
    return format.defaultRate == Rational{25, 1};
}

// Runs a tool; on failure (an exit status other than 0, or an error line) gives "tool: its error
// lines", or its last lines of output, or why it did not start.
std::string runTool(const QString& program, const QStringList& arguments,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return program.toStdString() + ": cannot be started (" + process.errorString().toStdString() + ")";
    process.waitForFinished(-1);
    const QString output =
        QString::fromUtf8(process.readAll()); // the tools write UTF-8, as the paths they name are
    QStringList problems;
    for (const QString& line : output.split(QLatin1Char('\n')))
        if (line.contains(QLatin1String("ERR")))
            problems << line.trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || !problems.isEmpty()) {
        const QString text = problems.isEmpty() ? output.trimmed().section(QLatin1Char('\n'), -3)
                                                : problems.join(QLatin1String("; "));
        return program.toStdString() + ": " + (text.isEmpty() ? std::string("failed") : text.toStdString());
    }
    return {};
}

} // namespace

std::filesystem::path dvdFolderFor(const std::filesystem::path& video) {
    return besideVideo(video, "-DVD");
}
std::filesystem::path isoFor(const std::filesystem::path& video) {
    return besideVideo(video, ".iso");
}
std::filesystem::path cueFor(const std::filesystem::path& video) {
    return besideVideo(video, ".cue");
}
std::filesystem::path binFor(const std::filesystem::path& video) {
    return besideVideo(video, ".bin");
}

std::string dvdChapterList(const std::vector<double>& startSeconds) {
    std::string list;
    for (const double seconds : startSeconds) {
        const auto ms = static_cast<long long>(std::llround(std::max(0.0, seconds) * 1000));
        char text[32];
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60,
                      ms / 1000 % 60, ms % 1000);
        if (!list.empty())
            list += ',';
        list += text;
    }
    return list.empty() ? "0:00:00.000" : list;
}

QByteArray dvdAuthorXml(const VideoFormat& format, const std::filesystem::path& video,
                        const std::filesystem::path& folder, const std::vector<double>& chapterSeconds) {
    const QString standard = isPal(format) ? QStringLiteral("pal") : QStringLiteral("ntsc");
    const QString aspect =
        QStringLiteral("%1:%2").arg(format.displayAspect.num).arg(format.displayAspect.den);
    const bool wide = format.displayAspect == Rational{16, 9};
    QByteArray xml;
    QXmlStreamWriter out(&xml);
    out.setAutoFormatting(true);
    out.writeStartElement(QStringLiteral("dvdauthor"));
    out.writeAttribute(QStringLiteral("dest"), qtPath(folder));
    // The first-play command starts the video as soon as the disc is in.
    out.writeStartElement(QStringLiteral("vmgm"));
    out.writeTextElement(QStringLiteral("fpc"), QStringLiteral("jump title 1;"));
    out.writeStartElement(QStringLiteral("menus"));
    out.writeEmptyElement(QStringLiteral("video"));
    out.writeAttribute(QStringLiteral("format"), standard);
    out.writeAttribute(QStringLiteral("aspect"), aspect);
    out.writeEndElement(); // menus
    out.writeEndElement(); // vmgm
    out.writeStartElement(QStringLiteral("titleset"));
    out.writeStartElement(QStringLiteral("titles"));
    out.writeEmptyElement(QStringLiteral("video"));
    out.writeAttribute(QStringLiteral("format"), standard);
    out.writeAttribute(QStringLiteral("aspect"), aspect);
    if (wide)
        out.writeAttribute(QStringLiteral("widescreen"), QStringLiteral("nopanscan"));
    out.writeStartElement(QStringLiteral("pgc"));
    out.writeEmptyElement(QStringLiteral("vob"));
    out.writeAttribute(QStringLiteral("file"), qtPath(video));
    out.writeAttribute(QStringLiteral("chapters"), QString::fromStdString(dvdChapterList(chapterSeconds)));
    out.writeEndElement(); // pgc
    out.writeEndElement(); // titles
    out.writeEndElement(); // titleset
    out.writeEndElement(); // dvdauthor
    return xml;
}

DiscImage makeDiscImage(const VideoFormat& format, const std::filesystem::path& video,
                        const std::vector<double>& chapterSeconds) {
    DiscImage image;
    if (format.disc == DiscKind::None) {
        image.error = std::string(format.name) + " is not a disc format";
        return image;
    }
    if (format.disc != DiscKind::Dvd) {
        const std::filesystem::path cue = cueFor(video), bin = binFor(video);
        image.error =
            runTool(QStringLiteral("vcdimager"),
                    {QStringLiteral("-t"),
                     format.disc == DiscKind::Vcd ? QStringLiteral("vcd2") : QStringLiteral("svcd"),
                     QStringLiteral("-c"), qtPath(cue), QStringLiteral("-b"), qtPath(bin), qtPath(video)});
        if (image.error.empty())
            image.files = {bin, cue};
        return image;
    }
    const std::filesystem::path folder = dvdFolderFor(video), iso = isoFor(video);
    std::error_code ignored;
    if (std::filesystem::exists(folder, ignored)) {
        image.error = "dvdauthor: " + folder.string() + " exists already";
        return image;
    }
    const std::filesystem::path project = besideVideo(video, "-dvdauthor.xml");
    {
        QFile file(qtPath(project));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(dvdAuthorXml(format, video, folder, chapterSeconds)) < 0) {
            image.error = "dvdauthor: cannot write " + project.string();
            return image;
        }
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VIDEO_FORMAT"),
                       isPal(format) ? QStringLiteral("PAL") : QStringLiteral("NTSC"));
    image.error = runTool(QStringLiteral("dvdauthor"), {QStringLiteral("-x"), qtPath(project)}, environment);
    std::filesystem::remove(project, ignored);
    if (!image.error.empty())
        return image;
    image.files.push_back(folder);
    image.error = runTool(QStringLiteral("genisoimage"),
                          {QStringLiteral("-dvd-video"), QStringLiteral("-V"), QStringLiteral("VISTELLO"),
                           QStringLiteral("-quiet"), QStringLiteral("-o"), qtPath(iso), qtPath(folder)});
    if (image.error.empty())
        image.files.push_back(iso);
    return image;
}

} // namespace vistello::production
