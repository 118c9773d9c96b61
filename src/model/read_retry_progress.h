// While it lives, every further try of a read shows on the wait bar: "Reading CV 29 (try 2 of 3)".
#pragma once

#include "model/wait_progress.h"

class ReadRetryProgress {
  public:
    explicit ReadRetryProgress(WaitProgress& bar);
    ~ReadRetryProgress();
    ReadRetryProgress(const ReadRetryProgress&) = delete;
    ReadRetryProgress& operator=(const ReadRetryProgress&) = delete;
};
