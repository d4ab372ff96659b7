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

} // namespace zir::reader
