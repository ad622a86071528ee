#include "motion/face_finder.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

#include <algorithm>

namespace vistello::motion {

struct CascadeFaceFinder::Detector {
    // detectMultiScale keeps scratch state in the classifier, hence mutable; one caller at a time.
    mutable cv::CascadeClassifier cascade;
};

CascadeFaceFinder::CascadeFaceFinder(std::vector<std::filesystem::path> candidates) {
    if (candidates.empty())
        candidates = defaultCascadeFiles();
    for (const auto& file : candidates) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error))
            continue;
        auto detector = std::make_unique<Detector>();
        try {
            if (!detector->cascade.load(file.string()) || detector->cascade.empty())
                continue;
        } catch (const cv::Exception&) {
            continue; // a damaged cascade file: try the next one
        }
        detector_ = std::move(detector);
        cascadeFile_ = file;
        return;
    }
}

CascadeFaceFinder::~CascadeFaceFinder() = default;

bool CascadeFaceFinder::available() const {
    return detector_ != nullptr;
}

std::vector<std::filesystem::path> CascadeFaceFinder::defaultCascadeFiles() {
    std::vector<std::filesystem::path> files;
    for (const char* root : {"/usr/share/opencv4", "/usr/local/share/opencv4", "/usr/share/opencv"}) {
        const std::filesystem::path folder(root);
        files.push_back(folder / "haarcascades/haarcascade_frontalface_alt2.xml");
        files.push_back(folder / "haarcascades/haarcascade_frontalface_default.xml");
        files.push_back(folder / "lbpcascades/lbpcascade_frontalface_improved.xml");
    }
    return files;
}

std::vector<store::MotionRect> CascadeFaceFinder::findFaces(const QImage& grey) const {
    if (!detector_ || grey.isNull() || grey.format() != QImage::Format_Grayscale8)
        return {};
    const cv::Mat view(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                       static_cast<std::size_t>(grey.bytesPerLine()));
    cv::Mat equalised;
    cv::equalizeHist(view, equalised);
    // Faces smaller than a twentieth of the short side are too small to frame around.
    const int minimum = std::max(20, std::min(grey.width(), grey.height()) / 20);
    std::vector<cv::Rect> found;
    try {
        detector_->cascade.detectMultiScale(equalised, found, 1.1, 4, 0, cv::Size(minimum, minimum));
    } catch (const cv::Exception&) {
        return {};
    }
    std::vector<store::MotionRect> faces;
    faces.reserve(found.size());
    for (const cv::Rect& r : found)
        faces.push_back({static_cast<double>(r.x) / grey.width(), static_cast<double>(r.y) / grey.height(),
                         static_cast<double>(r.width) / grey.width(),
                         static_cast<double>(r.height) / grey.height()});
    return faces;
}

} // namespace vistello::motion
