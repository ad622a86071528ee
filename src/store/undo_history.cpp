#include "store/undo_history.h"

#include "store/store_error.h"

#include <cerrno>

namespace vistello::store {

UndoHistory::UndoHistory(AlbumStore& store, std::size_t depth) : store_(store), depth_(depth) {
    removeKeptFolders(store_.RootPath());
}

UndoHistory::~UndoHistory() {
    for (Change& change : done_)
        discardItems(change.kept);
    for (Change& change : undone_)
        discardItems(change.kept);
    removeKeptFolders(store_.RootPath());
}

void UndoHistory::perform(ChangeKind kind, const ListSnapshot& to) {
    Change change{kind, captureList(store_, to.kind), to, {}};
    changeList(store_, to, change.kept);
    if (to.kind == ListKind::Albums)
        store_.openAlbum(store_.AlbumIndex);
    push(std::move(change));
}

void UndoHistory::recordDone(ChangeKind kind, const ListSnapshot& before) {
    ListSnapshot after = captureList(store_, before.kind);
    if (after.album != before.album ||
        (*after.records == *before.records && *after.motions == *before.motions))
        return;
    push(Change{kind, before, std::move(after), {}});
}

void UndoHistory::recordCreatedAlbums(const ListSnapshot& before) {
    const ListSnapshot after = captureList(store_, ListKind::Albums);
    const std::string& records = *after.records;
    // The dialog only appends: anything else is no creation this history can take back.
    if (before.kind != ListKind::Albums || records.size() <= before.records->size() ||
        records.compare(0, before.records->size(), *before.records) != 0)
        return;
    ListSnapshot shorter = before;
    for (int count = before.count() + 1; count <= after.count(); ++count) {
        ListSnapshot longer = after;
        longer.records = std::make_shared<const std::string>(
            records.substr(0, static_cast<std::size_t>(count) * sizeof(TAlbumInfo)));
        longer.index = count - 1; // the new album is the current one
        push(Change{ChangeKind::CreateAlbum, shorter, longer, {}});
        shorter = longer;
    }
}

void UndoHistory::push(Change change) {
    for (Change& undone : undone_)
        discardItems(undone.kept);
    undone_.clear();
    // Neighbouring changes share the list between them, so the history holds each list once.
    if (!done_.empty() && *done_.back().after.records == *change.before.records)
        change.before.records = done_.back().after.records;
    if (!done_.empty() && *done_.back().after.motions == *change.before.motions)
        change.before.motions = done_.back().after.motions;
    done_.push_back(std::move(change));
    while (done_.size() > depth_) {
        discardItems(done_.front().kept);
        done_.pop_front();
    }
}

void UndoHistory::openAlbumOf(const ListSnapshot& list) {
    const bool open = store_.AlbumIndex >= 0 && store_.AlbumIndex < store_.AlbumCount() &&
                      store_.albumFolderName(store_.AlbumIndex) == list.album && !store_.AlbumPath().empty();
    if (open)
        return;
    for (int i = 0; i < store_.AlbumCount(); ++i) {
        if (store_.albumFolderName(i) == list.album) {
            store_.AlbumIndex = i;
            store_.openAlbum(i);
            return;
        }
    }
    throw StoreError(ENOENT, StoreAction::FindAlbum, store_.RootPath() / list.album);
}

void UndoHistory::apply(Change& change, const ListSnapshot& to) {
    if (to.kind != ListKind::Albums)
        openAlbumOf(to);
    changeList(store_, to, change.kept);
    if (to.kind == ListKind::Albums)
        store_.openAlbum(store_.AlbumIndex);
}

void UndoHistory::undo() {
    if (done_.empty())
        return;
    apply(done_.back(), done_.back().before);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
}

void UndoHistory::redo() {
    if (undone_.empty())
        return;
    apply(undone_.back(), undone_.back().after);
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
}

ChangeSummary UndoHistory::summary(const Change& change) {
    if (change.before.kind != ListKind::Albums)
        return {change.kind, change.before.kind, change.before.album};
    // An album change names the album it created or deleted: the one at the current index of
    // the longer list.
    const ListSnapshot& longer = change.after.count() > change.before.count() ? change.after : change.before;
    const std::vector<TAlbumInfo> albums = recordsFromBytes<TAlbumInfo>(*longer.records);
    std::string name;
    if (longer.index >= 0 && longer.index < static_cast<int>(albums.size()))
        name = albums[static_cast<std::size_t>(longer.index)].AlbumName.text();
    return {change.kind, ListKind::Albums, name};
}

std::optional<ChangeSummary> UndoHistory::nextUndo() const {
    if (done_.empty())
        return std::nullopt;
    return summary(done_.back());
}

std::optional<ChangeSummary> UndoHistory::nextRedo() const {
    if (undone_.empty())
        return std::nullopt;
    return summary(undone_.back());
}

} // namespace vistello::store
