#include "reader/ReaderApi.h"

namespace zir::reader {

namespace {
TReaderApi& Table() {
    static TReaderApi table{.Missing = "reader libraries not loaded"};
    return table;
}
} // namespace

const TReaderApi& CurrentReaderApi() {
    return Table();
}

void InstallReaderApi(const TReaderApi& api) {
    Table() = api;
}

void SwitchReaderBeep(int32_t on) {
    if (auto beep = CurrentReaderApi().readCardBeep)
        beep(on);
}

} // namespace zir::reader
