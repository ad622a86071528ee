#pragma once
// How import-pictures and import-music show their run on stderr: "importing 2/5: /path/file"
// for each file (over a terminal each line replaces the last), and a line for each file left
// out, saying why.

#include "store/import_batch.h"

namespace vistello::cli {

class StderrImportProgress final : public store::ImportProgress {
  public:
    StderrImportProgress();
    ~StderrImportProgress() override;
    StderrImportProgress(const StderrImportProgress&) = delete;
    StderrImportProgress& operator=(const StderrImportProgress&) = delete;

    void fileStarting(int index, int count, const std::filesystem::path& path) override;
    void fileSkipped(int index, const std::filesystem::path& path, store::SkipReason reason) override;

  private:
    bool terminal_;
    bool lineOpen_ = false; // a progress line stands without its newline (terminal only)
};

} // namespace vistello::cli
