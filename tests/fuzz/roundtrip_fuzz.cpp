// Fuzz target: records the fuzzer makes are saved as a record file and read back
// as the import reads them, and exported as a workbook whose records are walked.
//
// The file must give back the record count, the interval when it is a whole
// number of minutes from -9 to 99, the newest time to the minute, and every
// reading (zeros as gaps; readings of 10485760 tenths and more only as closely as
// single precision holds them). The workbook must be one BOF, three LABEL cells,
// three NUMBER cells per record in row order, and an EOF that ends the bytes.
#include "check.h"

#include "export/sheet.h"
#include "export/workbook.h"
#include "records/logfile.h"
#include "records/store.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t maxRecords = 4000;
constexpr int64_t exactTenths = 10485760;
// Spreadsheet serial days of 1970-01-01 and of the day after the last valid time.
constexpr double serialOf1970 = 25569.0;
constexpr double serialAfter2038 = serialOf1970 + 24856.0;

int32_t reading(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(-2000, 2000)
                               : input.ConsumeIntegral<int32_t>();
}

int32_t interval(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(-9, 99) * 60
                               : input.ConsumeIntegral<int32_t>();
}

// The records as the store holds them after a load: times from the newest one back.
std::vector<records::Record> makeRecords(FuzzedDataProvider& input, int32_t seconds)
{
    records::resetStore();
    const int32_t newestTime = input.ConsumeIntegral<int32_t>();
    while (input.remaining_bytes() > 0 && records::store().records.size() < maxRecords) {
        const int32_t temperature = reading(input);
        records::appendRecord(temperature, reading(input));
    }
    records::store().interval = seconds;
    records::assignRecordTimes(newestTime);
    std::vector<records::Record> made = records::store().records;
    records::resetStore();
    return made;
}

void checkReading(int32_t written, int32_t read)
{
    const int64_t magnitude = std::llabs(int64_t{written});
    if (magnitude < exactTenths)
        FUZZ_CHECK(read == written);
    else
        FUZZ_CHECK(std::llabs(int64_t{read} - written) <= (magnitude >> 23) + 1);
}

void checkRecordFile(const std::vector<records::Record>& made, int32_t seconds)
{
    const std::string file = records::formatLogFile(made, seconds);
    records::LoadHeader header;
    std::vector<records::Record> read;
    FUZZ_CHECK(records::readLogFile(file, header, read));
    FUZZ_CHECK(read.size() == made.size());
    if (seconds % 60 == 0 && seconds >= -9 * 60 && seconds <= 99 * 60)
        FUZZ_CHECK(header.interval == seconds);
    const int32_t newest = made.empty() ? -1 : made.back().time;
    FUZZ_CHECK(header.newestTime == (newest < 0 ? -1 : newest - newest % 60));
    for (size_t i = 0; i < made.size(); ++i) {
        const records::Record& m = made[i];
        const records::Record& r = read[i];
        if (records::isGap(m)) {
            FUZZ_CHECK(r.temperature == 0 && r.humidity == 0);
            continue;
        }
        checkReading(m.temperature, r.temperature);
        checkReading(m.humidity, r.humidity);
    }
}

uint16_t u16At(const std::string& bytes, size_t pos)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[pos])
                                 | static_cast<unsigned char>(bytes[pos + 1]) << 8);
}

double f64At(const std::string& bytes, size_t pos)
{
    double value;
    std::memcpy(&value, bytes.data() + pos, sizeof value);
    return value;
}

// One NUMBER cell: the k-th of the sheet's record cells, row k / 3 + 2 (stored
// 0-based), columns temperature, humidity, time.
void checkNumberCell(const std::string& bytes, size_t body, size_t k,
                     const std::vector<records::Record>& made)
{
    const records::Record& record = made[k / 3];
    FUZZ_CHECK(u16At(bytes, body) == k / 3 + 1);
    FUZZ_CHECK(u16At(bytes, body + 2) == k % 3);
    const double value = f64At(bytes, body + 7);
    if (k % 3 == 0)
        FUZZ_CHECK(value == record.temperature / 10.0);
    else if (k % 3 == 1)
        FUZZ_CHECK(value == record.humidity / 10.0);
    else if (record.time < 0)
        FUZZ_CHECK(value == 0.0);
    else
        FUZZ_CHECK(value >= serialOf1970 && value < serialAfter2038);
}

void checkWorkbook(const std::vector<records::Record>& made)
{
    const std::string bytes = xls::workbookBytes(made);
    FUZZ_CHECK(bytes.size() == 628 + 57 * made.size());
    size_t pos = 0, labels = 0, numbers = 0, records = 0;
    uint16_t lastId = 0, lastLength = 0;
    while (pos + 4 <= bytes.size()) {
        lastId = u16At(bytes, pos);
        lastLength = u16At(bytes, pos + 2);
        FUZZ_CHECK(pos + 4 + lastLength <= bytes.size());
        if (records++ == 0)
            FUZZ_CHECK(lastId == xls::BofRecord);
        if (lastId == xls::LabelRecord)
            ++labels;
        if (lastId == xls::NumberRecord) {
            FUZZ_CHECK(lastLength == 15);
            checkNumberCell(bytes, pos + 4, numbers++, made);
        }
        pos += 4 + lastLength;
    }
    FUZZ_CHECK(pos == bytes.size());
    FUZZ_CHECK(lastId == xls::EofRecord && lastLength == 0);
    FUZZ_CHECK(labels == 3);
    FUZZ_CHECK(numbers == 3 * made.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int32_t seconds = interval(input);
    const std::vector<records::Record> made = makeRecords(input, seconds);
    checkRecordFile(made, seconds);
    checkWorkbook(made);
    return 0;
}
