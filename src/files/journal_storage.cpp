#include "files/journal_storage.h"

namespace {

JournalStorage* installed = nullptr;

} // namespace

JournalStorage& journalStorage() {
    return installed ? *installed : platformJournalStorage();
}

JournalStorage* setJournalStorage(JournalStorage* storage) {
    JournalStorage* previous = &journalStorage();
    installed = storage;
    return previous;
}
