#include "AccountFileWatch.h"

#include "WholeFile.h"

namespace qv {

std::string AccountFileWatch::Read() const {
    return ReadWholeFile(path_).value_or(std::string());
}

void AccountFileWatch::Accept() {
    accepted_ = Read();
    previous_ = accepted_;
}

bool AccountFileWatch::Poll() {
    const std::string now = Read();
    const bool stable = previous_ && *previous_ == now;
    previous_ = now;
    return stable && (!accepted_ || *accepted_ != now);
}

}  // namespace qv
