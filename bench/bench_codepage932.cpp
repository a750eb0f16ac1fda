// The code page 932 table against Qt's ICU codec (where Qt has one), on the text of a
// floor file's worth of Japanese: decoding and encoding 8 KiB.

#include "model/codepage932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <benchmark/benchmark.h>

namespace {

// Kana, kanji of both levels, row 13 and ASCII, as floor names and comments mix them.
QByteArray sampleBytes()
{
    QByteArray bytes;
    for (int lead : {0x82, 0x83, 0x88, 0x93, 0x98, 0xE0, 0x87})
        for (int trail = 0x40; trail <= 0x9E; ++trail)
            if (trail != 0x7F)
                bytes += QByteArray{char(lead), char(trail)} + (trail % 16 ? "" : "A1\r\n");
    while (bytes.size() < 8192)
        bytes += bytes;
    QString text;
    CodePage932::decode(bytes, text, u'\u30FB');
    QByteArray clean;
    CodePage932::encode(text.remove(u'\u30FB'), clean);
    return clean.left(8192);
}

void BM_DecodeTable(benchmark::State &state)
{
    const QByteArray bytes = sampleBytes();
    QString text;
    for (auto _ : state) {
        CodePage932::decode(bytes, text, u'\u30FB');
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_DecodeTable)->Unit(benchmark::kMicrosecond);

void BM_DecodeIcu(benchmark::State &state)
{
    const QByteArray bytes = sampleBytes();
    if (!QStringDecoder("windows-31j").isValid())
        return state.SkipWithError("no ICU");
    for (auto _ : state) {
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        QString text = decoder.decode(bytes);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_DecodeIcu)->Unit(benchmark::kMicrosecond);

void BM_EncodeTable(benchmark::State &state)
{
    QString text;
    CodePage932::decode(sampleBytes(), text, u'\u30FB');
    for (auto _ : state) {
        QByteArray bytes;
        CodePage932::encode(text, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodeTable)->Unit(benchmark::kMicrosecond);

void BM_EncodeIcu(benchmark::State &state)
{
    QString text;
    CodePage932::decode(sampleBytes(), text, u'\u30FB');
    if (!QStringEncoder("windows-31j").isValid())
        return state.SkipWithError("no ICU");
    for (auto _ : state) {
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        QByteArray bytes = encoder.encode(text);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodeIcu)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
