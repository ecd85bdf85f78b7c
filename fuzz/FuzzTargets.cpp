#include "FuzzTargets.h"

namespace Fuzz {

const std::vector<Target> &targets()
{
    static const std::vector<Target> all = {
        {"id3v1", &id3v1},
        {"mpeg_listing", &mpeg_listing},
        {"mpeg_analyzer", &mpeg_analyzer},
        {"id3v2_roundtrip", &id3v2_roundtrip},
        {"ini_file", &ini_file},
        {"mask_files", &mask_files},
        {"mask_language", &mask_language},
        {"site_amg", &site_amg},
        {"site_gracenote", &site_gracenote},
        {"site_freedb", &site_freedb},
        {"site_musicbrainz_page", &site_musicbrainz_page},
        {"musicbrainz_json", &musicbrainz_json},
        {"musicbrainz_search", &musicbrainz_search},
        {"journal_undo", &journal_undo},
        {"update_file", &update_file},
        {"track_list_text", &track_list_text},
        {"track_list_page", &track_list_page},
    };
    return all;
}

} // namespace Fuzz
