#include "data/data_module.h"

#include "data/sjis.h"

namespace tamboro {


TDM1::TDM1(const std::filesystem::path& folder)
    : CDvd("CDvd", folder / "DvdData.xml", schemaOf(CatalogueTable::Dvd)),
      CGenre("CGenre", folder / "Genre.xml", schemaOf(CatalogueTable::Genre)),
      CGenre2("CGenre2", folder / "Genre2.xml", schemaOf(CatalogueTable::Genre2)),
      CSound("CSound", folder / "Sound.xml", schemaOf(CatalogueTable::Sound)),
      CLange("CLange", folder / "Lange.xml", schemaOf(CatalogueTable::Lange)),
      CImpress("CImpress", folder / "Impress.xml", schemaOf(CatalogueTable::Impress)),
      CHistory("CHistory", folder / "History.xml", schemaOf(CatalogueTable::History)),
      DvdSource("DvdSource", CDvd),
      GenreSource("GenreSource", CGenre),
      GenreSource2("GenreSource2", CGenre2),
      SoundSource("SoundSource", CSound),
      LangeSource("LangeSource", CLange),
      ImpressSource("ImpressSource", CImpress),
      HistorySource("HistorySource", CHistory),
      folder_(folder) {
    for (CatalogueTable t : {CatalogueTable::Dvd, CatalogueTable::Genre, CatalogueTable::Genre2,
                             CatalogueTable::Sound, CatalogueTable::Lange, CatalogueTable::Impress,
                             CatalogueTable::History})
        table(t).setIndexFields(sj(definitionOf(t).indexFields));
    CDvd.setCaseInsensitiveFilter(true);
    CGenre2.setMaster(&CGenre, sj(definitionOf(CatalogueTable::Genre2).masterLink));
    CHistory.setMaster(&CDvd, sj(definitionOf(CatalogueTable::History).masterLink));
    CGenre.setBuiltinRows(builtinGenrePacket());
    // Serve the built-in genres whenever Genre.xml is absent, not only once:
    // an unchanged genre list is never written, and must still reopen.
    CGenre.setBuiltinReusable(true);
    hookRules();
}

void TDM1::openAtCreation() { CGenre.open(); }

std::vector<DataSource*> TDM1::dataSources() {
    return {&DvdSource, &GenreSource, &GenreSource2, &SoundSource, &LangeSource, &ImpressSource, &HistorySource};
}

Table& TDM1::table(CatalogueTable t) {
    switch (t) {
    case CatalogueTable::Dvd: return CDvd;
    case CatalogueTable::Genre: return CGenre;
    case CatalogueTable::Genre2: return CGenre2;
    case CatalogueTable::Sound: return CSound;
    case CatalogueTable::Lange: return CLange;
    case CatalogueTable::Impress: return CImpress;
    case CatalogueTable::History: return CHistory;
    }
    return CDvd;
}

}  // namespace tamboro
