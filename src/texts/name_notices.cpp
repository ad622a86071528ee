#include "texts/name_notices.h"

namespace vistello::texts {

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

} // namespace vistello::texts
