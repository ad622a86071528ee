#include "cli/cli_texts.h"

#include "production/pending_output.h"

namespace vistello::cli {

std::string newNameNotice(store::NewNameCheck check) {
    switch (check) {
    case store::NewNameCheck::Empty:
        return " 提示：请输入新的相册名称!";
    case store::NewNameCheck::Exists:
        return " 提示：现输入的相册名称已存在,创建无效!";
    case store::NewNameCheck::Forbidden:
        return " 提示：相册名称不能含有 \\ / : * ? | \" < > 等字符!";
    case store::NewNameCheck::Available:
        break;
    }
    return " 提示：当前已经输入的相册名称系统还没有,可以创建!";
}

std::string shortenedNameNotice(std::string_view shortenedName) {
    return std::string(" 提示：名称过长(限90字节),将缩短为“").append(shortenedName).append("”,可以创建!");
}

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

std::string runErrorMessage(const production::RunError& error) {
    using production::RunFailure;
    switch (error.what) {
    case RunFailure::None:
        return {};
    case RunFailure::NoFormat:
        return "未选择视频格式";
    case RunFailure::NoOutput:
        return "没有指定输出的视频文件";
    case RunFailure::OutputIsFolder:
        return "输出路径 " + error.file.string() + " 是一个文件夹，不能写成视频文件";
    case RunFailure::OutputIsAlbumFile:
        return "输出文件 " + error.file.string() + " 是相册自己的文件，不能被视频覆盖";
    case RunFailure::MusicTooShort:
        return "音乐太短,无法同步!请删除部分图片或者添加音乐。";
    case RunFailure::Picture:
    case RunFailure::Background: {
        std::string message = "无法读取图片文件 " + error.file.string();
        for (std::size_t i = 0; i < error.reasons.size(); ++i)
            message += (i == 0 ? "：" : "；") + error.reasons[i];
        return message;
    }
    case RunFailure::Song:
        return "无法读取第" + std::to_string(error.row + 1) + "首音乐《" + error.title + "》（文件 " +
               error.file.filename().string() + "）：" +
               (error.code ? "文件不存在" : "其中没有可以解码的 MP3 声音");
    case RunFailure::OutputNotCreated:
        return "无法在文件夹 " +
               (error.file.has_parent_path() ? error.file.parent_path() : std::filesystem::path("."))
                   .string() +
               " 中创建视频文件 " + error.file.filename().string() + "：" +
               production::fileErrorText(error.code);
    case RunFailure::OutputNotSaved:
        return "无法把生成的视频保存为 " + error.file.string() + "：" + production::fileErrorText(error.code);
    case RunFailure::Encoder:
        return error.detail;
    case RunFailure::OutOfMemory:
        return "内存不足，无法生成视频";
    case RunFailure::Unknown:
        break;
    }
    return error.detail.empty() ? "生成视频时出现未知的错误" : error.detail;
}

std::string discFailedMessage(const std::string& reason) {
    return "光盘映像生成失败: " + reason;
}

} // namespace vistello::cli
