#include "texts/store_error_text.h"

#include <cerrno>

namespace vistello::texts {

namespace {

const char* actionText(store::StoreAction action) {
    using store::StoreAction;
    switch (action) {
    case StoreAction::Open:
        return "无法打开";
    case StoreAction::Read:
        return "无法读取";
    case StoreAction::CreateFile:
        return "无法创建文件";
    case StoreAction::CreateFolder:
        return "无法创建文件夹";
    case StoreAction::Write:
        return "无法写入";
    case StoreAction::Replace:
        return "无法替换";
    case StoreAction::Delete:
        return "无法删除";
    case StoreAction::CreateAlbum:
        return "无法创建相册";
    case StoreAction::NoAlbumFolder:
        return "当前相册没有可用的文件夹";
    case StoreAction::Keep:
        return "无法移走";
    case StoreAction::Restore:
        return "无法恢复";
    case StoreAction::FindAlbum:
        return "找不到相册";
    case StoreAction::AlbumNotOpen:
        return "相册没有打开";
    }
    return "无法访问";
}

} // namespace

std::string systemErrorText(int errorCode) {
    switch (errorCode) {
    case EPERM:
        return "不允许的操作";
    case ENOENT:
        return "没有那个文件或文件夹";
    case EIO:
        return "输入/输出错误";
    case ENXIO:
    case ENODEV:
        return "没有那个设备";
    case ENOMEM:
        return "内存不足";
    case EACCES:
        return "权限不够";
    case EBUSY:
        return "设备或资源忙";
    case EEXIST:
        return "文件已存在";
    case EXDEV:
        return "不能跨文件系统移动";
    case ENOTDIR:
        return "路径中有一部分不是文件夹";
    case EISDIR:
        return "这是一个文件夹";
    case EINVAL:
        return "无效的参数";
    case ENFILE:
    case EMFILE:
        return "打开的文件过多";
    case ETXTBSY:
        return "文件正被使用";
    case EFBIG:
        return "文件过大";
    case ENOSPC:
        return "磁盘空间不足";
    case EROFS:
        return "只读文件系统";
    case ENAMETOOLONG:
        return "文件名过长";
    case ENOTEMPTY:
        return "文件夹不是空的";
    case ELOOP:
        return "符号链接的层数过多";
    case EDQUOT:
        return "超出磁盘配额";
    case EAGAIN:
        return "资源暂时不可用";
    case EINTR:
        return "操作被中断";
    case ESTALE:
        return "网络文件已失效";
    default:
        break;
    }
    return "系统错误 " + std::to_string(errorCode);
}

std::string storeErrorText(store::StoreAction action, int errorCode, const std::filesystem::path& file) {
    return std::string(actionText(action)) + "“" + file.string() + "”：" + systemErrorText(errorCode);
}

std::string storeErrorText(const store::StoreError& error) {
    return storeErrorText(error.action(), error.code().value(), error.file());
}

} // namespace vistello::texts
