// Reads arbitrary bytes as each of the three record files and uses every field the way the
// program does: decoding text, forming folder and file paths, naming effects.

#include "effects/effect_names.h"
#include "store/album_store.h"
#include "store/record_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vistello::store;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    AlbumStore store("/nonexistent-fuzz-root");
    store.AlbumList = recordsFromBytes<TAlbumInfo>(bytes);
    for (int i = 0; i < store.AlbumCount(); ++i)
        (void)store.albumFolder(i);
    for (const TPicInfo& p : recordsFromBytes<TPicInfo>(bytes)) {
        (void)vistello::effects::EffectName(p.Effect);
        (void)p.Title.text();
        (void)p.Remark.text();
        (void)store.mediaFile(p.FileName.gbk());
    }
    for (const TMusicInfo& m : recordsFromBytes<TMusicInfo>(bytes)) {
        (void)m.SongName.text();
        (void)m.Singer.text();
        (void)m.Remark.text();
        (void)store.mediaFile(m.FileName.gbk());
    }
    return 0;
}
