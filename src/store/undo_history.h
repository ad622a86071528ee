#pragma once
// UndoHistory: the list changes of one run of the window program, newest last, so that each
// can be taken back and made again. A change is the list it left and the list it replaced
// (whole record files, with a picture list's motions, shared between neighbouring changes),
// carried out by changeList, which restores and keeps the media files and album folders on the
// way: a deleted picture's file or a deleted album's folder is kept hidden while its deletion
// can be undone, and an undone import's files while it can be redone. What falls off the far
// end of the history, what a new change makes impossible to redo, and everything at the end of
// the run is deleted for good.
//
// The history knows no widgets and no texts; the window names the changes for its menus.

#include "store/album_store.h"
#include "store/kept_items.h"
#include "store/list_change.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vistello::store {

enum class ChangeKind { Move, Delete, DeleteAll, Edit, Import, CreateAlbum, DeleteAlbum };

// What a change was, for the captions of the undo and redo commands.
struct ChangeSummary {
    ChangeKind kind;
    ListKind list;
    // The album of a picture or song change (its folder name), or the album an album change
    // created or deleted (its name as shown).
    std::string album;
};

class UndoHistory {
  public:
    static constexpr std::size_t kDefaultDepth = 100;

    // Removes the hidden folders that a run which ended abruptly left in the store.
    explicit UndoHistory(AlbumStore& store, std::size_t depth = kDefaultDepth);
    // Deletes every kept item for good, and the hidden folders with them.
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Carries out a planned list (list_operations.h, album_operations.h) as a change of this
    // kind; after an album list change the current album is opened. Throws StoreError with
    // nothing changed.
    void perform(ChangeKind kind, const ListSnapshot& to);
    // Records a change already made and saved (an import, the picture editor's saves) from
    // the list as it was before; a list that is the same, records and motions, records
    // nothing.
    void recordDone(ChangeKind kind, const ListSnapshot& before);
    // Records the albums appended to the album list since `before`, one change for each, as
    // the album dialog creates them one after the other.
    void recordCreatedAlbums(const ListSnapshot& before);

    std::optional<ChangeSummary> nextUndo() const;
    std::optional<ChangeSummary> nextRedo() const;
    std::size_t undoSteps() const { return done_.size(); }
    std::size_t redoSteps() const { return undone_.size(); }

    // Takes back the newest change, or makes the newest undone one again. A picture or song
    // change opens its album first. Throws StoreError; the change then stays where it was.
    void undo();
    void redo();

  private:
    struct Change {
        ChangeKind kind;
        ListSnapshot before;
        ListSnapshot after;
        KeptItems kept; // removed by the change while done, added by it while undone
    };
    void push(Change change);
    void apply(Change& change, const ListSnapshot& to);
    void openAlbumOf(const ListSnapshot& list);
    static ChangeSummary summary(const Change& change);

    AlbumStore& store_;
    std::size_t depth_;
    std::deque<Change> done_;
    std::vector<Change> undone_;
};

} // namespace vistello::store
