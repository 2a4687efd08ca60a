// Costs of loading stored text: completing and writing notes, and decoding
// text files in both encodings the file layer meets.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "storage/Json.h"
#include "storage/NoteFormat.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

// A thousand notes as they come from disk: most written by the program, some
// older ones missing members, some edited by hand with wrong types, some with
// drawings.
std::vector<Json> sampleNotes() {
    std::vector<Json> notes;
    notes.reserve(1000);
    for (int i = 0; i < 1000; ++i) {
        Json note = Json::object();
        note["title"] = "2024/05/" + std::to_string(1 + i % 28) + " \xE8\xB2\xB7\xE3\x81\x84\xE7\x89\xA9 " +
                        std::to_string(i);
        note["group"]["guid"] = "0b6f1f2e-3c4d-4e5f-8a9b-" + std::to_string(100000000000 + i);
        note["window"]["position"] = {{"left", 40 * (i % 30)},
                                      {"top", 25 * (i % 20)},
                                      {"width", 240 + i % 7},
                                      {"height", 300 - i % 11}};
        note["window"]["opacity"] = (i % 10) / 10.0f;
        note["window"]["fold"] = i % 5 == 0;
        note["mode"] = i % 4 == 0 ? "scribble" : "text";
        note["text"]["selection"] = {{"start", i}, {"end", i + 5}};
        note["theme"]["base"] = i % 3 == 0 ? "#f8b500" : "8fbc8f";
        if (i % 7 == 0) {
            note["window"]["position"]["width"] = 120.5; // hand-edited
            note["window"]["opacity"] = "0.5";
            note["mode"] = "Scribble";
        }
        if (i % 9 == 0) {
            note.erase("text"); // written by an older version
        }
        if (i % 4 == 0) {
            Json& figures = note["scribble"]["figure"];
            for (int f = 0; f < 20; ++f) {
                Json points = Json::array();
                for (int p = 0; p < 16; ++p) {
                    points.push_back({{"x", p * 1.5f + f}, {"y", p * 0.75f}});
                }
                figures.push_back({{"type", "freeline"}, {"strokeColor", "#000000"}, {"points", points}});
            }
        }
        notes.push_back(std::move(note));
    }
    return notes;
}

void BM_CompleteAndWrite1000Notes(benchmark::State& state) {
    const std::vector<Json> notes = sampleNotes();
    size_t bytes = 0;
    for (auto _ : state) {
        for (const Json& stored : notes) {
            Json note = stored;
            completeNoteJsonWithTitle(note, "2024/05/06 07:08");
            std::string text = serializeJson(note);
            bytes += text.size();
            benchmark::DoNotOptimize(text.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(notes.size()));
}
BENCHMARK(BM_CompleteAndWrite1000Notes)->Unit(benchmark::kMillisecond);

constexpr size_t mebibyte = 1 << 20;

// Japanese and ASCII lines with CR LF endings, as UTF-8 behind a mark.
std::string utf8File() {
    const std::string line =
        "\xE4\xBB\x98\xE7\xAE\x8B\xE3\x81\xAE\xE3\x83\xA1\xE3\x83\xA2 sticky note line\r\n";
    std::string bytes = "\xEF\xBB\xBF";
    while (bytes.size() + line.size() <= mebibyte) {
        bytes += line;
    }
    bytes.append(mebibyte - bytes.size(), 'x');
    return bytes;
}

// The same mix in Shift_JIS: hiragana (0x82 0x9F..0xF1), kanji and ASCII.
std::string shiftJisFile() {
    std::string line;
    for (int c = 0x9F; c <= 0xF1; ++c) {
        line += '\x82';
        line += static_cast<char>(c);
    }
    line += "\x8A\xBF\x8E\x9A memo line\r\n";
    std::string bytes;
    while (bytes.size() + line.size() <= mebibyte) {
        bytes += line;
    }
    bytes.append(mebibyte - bytes.size(), 'x');
    return bytes;
}

void decodeBenchmark(benchmark::State& state, const std::string& bytes) {
    std::wstring text;
    for (auto _ : state) {
        ErrorCode result = decodeTextFile(bytes, text);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(text.data());
    }
    if (text.empty()) {
        state.SkipWithError("nothing decoded");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_DecodeUtf8WithMark1MiB(benchmark::State& state) {
    decodeBenchmark(state, utf8File());
}
BENCHMARK(BM_DecodeUtf8WithMark1MiB)->Unit(benchmark::kMillisecond);

void BM_DecodeShiftJis1MiB(benchmark::State& state) {
    decodeBenchmark(state, shiftJisFile());
}
BENCHMARK(BM_DecodeShiftJis1MiB)->Unit(benchmark::kMillisecond);

} // namespace
