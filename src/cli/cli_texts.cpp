#include "cli/cli_texts.h"

namespace vistello::cli {

std::string stageLine(production::RunStage stage) {
    switch (stage) {
    case production::RunStage::Done:
    case production::RunStage::Encoding:
        return {};
    case production::RunStage::Preparing:
        return "准备生成...";
    case production::RunStage::FileStructure:
        return "视频文件结构处理...";
    case production::RunStage::Other:
        break;
    }
    return "其它视频处理！";
}

std::string runFinishedLine() {
    return "相册生成完毕!";
}

std::string runFailedMessage() {
    return "创建相册视频文件出错，请重新制作！";
}

std::string discFailedMessage(const std::string& reason) {
    return "光盘映像生成失败: " + reason;
}

} // namespace vistello::cli
