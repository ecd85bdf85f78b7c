#pragma once
// The bodies of the fuzz targets: each takes the bytes of one input and feeds them to the entry
// point the program itself uses for them. libFuzzer calls them from fuzz/entry/ (the fuzzing
// build); the regression test replays kept inputs through them in the ordinary build.
//
// A target returns 0. A broken promise of the code under test (what was read does not survive
// a write, a path leaves its destination) aborts through FUZZ_CHECK, which both libFuzzer and
// the replay test report as a finding.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Fuzz {

using Body = int (*)(const std::uint8_t *data, std::size_t size);

int id3v1(const std::uint8_t *data, std::size_t size);
int mpeg_listing(const std::uint8_t *data, std::size_t size);
int mpeg_analyzer(const std::uint8_t *data, std::size_t size);
int id3v2_roundtrip(const std::uint8_t *data, std::size_t size);
int ini_file(const std::uint8_t *data, std::size_t size);
int mask_files(const std::uint8_t *data, std::size_t size);
int mask_language(const std::uint8_t *data, std::size_t size);
int site_amg(const std::uint8_t *data, std::size_t size);
int site_gracenote(const std::uint8_t *data, std::size_t size);
int site_freedb(const std::uint8_t *data, std::size_t size);
int site_musicbrainz_page(const std::uint8_t *data, std::size_t size);
int musicbrainz_json(const std::uint8_t *data, std::size_t size);
int musicbrainz_search(const std::uint8_t *data, std::size_t size);
int journal_undo(const std::uint8_t *data, std::size_t size);
int update_file(const std::uint8_t *data, std::size_t size);
int track_list_text(const std::uint8_t *data, std::size_t size);
int track_list_page(const std::uint8_t *data, std::size_t size);

struct Target
{
    const char *name;
    Body body;
};

/// Every target, by the name fuzz/entry/NAME.cpp, fuzz/corpus/NAME and tests/data/fuzz/NAME use.
const std::vector<Target> &targets();

} // namespace Fuzz
