#include "data/fresh_install.h"

#include <system_error>

#include "data/catalogue_schema.h"
#include "data/packet_file.h"
#include "data/packet_writer.h"
#include "data/sjis.h"

namespace tamboro {

Packet defaultImpressPacket() {
    static constexpr std::string_view kNames[] = {"感動した", "笑える", "泣ける", "怖い", "考えさせられる",
                                                  "爽快",     "映像美", "音楽が良い", "何度も観たい", "家族向け"};
    Packet p;
    p.schema = schemaOf(CatalogueTable::Impress);
    RowBuilder b(p.schema.size());
    int no = 0;
    for (std::string_view name : kNames) {
        b.setInt(0, ++no);
        b.setText(1, sj(name));
        p.rows.push_back({b.finish(), 0});
    }
    return p;
}

std::vector<std::string> createMissingFiles(const std::filesystem::path& folder) {
    std::vector<std::string> created;
    for (CatalogueTable t : {CatalogueTable::Dvd, CatalogueTable::Genre2, CatalogueTable::Sound,
                             CatalogueTable::History, CatalogueTable::Impress, CatalogueTable::Lange}) {
        const std::filesystem::path file = folder / definitionOf(t).fileName;
        std::error_code ec;
        // A dangling link or an unreadable entry is not ours to replace either;
        // an empty regular file holds nothing and counts as absent, as it does
        // when a table opens, so it is filled like a missing one.
        auto type = std::filesystem::symlink_status(file, ec).type();
        bool emptyFile = type == std::filesystem::file_type::regular && std::filesystem::file_size(file, ec) == 0 && !ec;
        if (type != std::filesystem::file_type::not_found && !emptyFile) continue;
        Packet p;
        if (t == CatalogueTable::Impress) {
            p = defaultImpressPacket();
        } else {
            p.schema = schemaOf(t);
        }
        replaceFileContent(file, writePacket(p, false));
        created.emplace_back(definitionOf(t).fileName);
    }
    return created;
}

}  // namespace tamboro
