#include "fetch/transport.h"

#include <arpa/inet.h>

#include <string>

namespace velnora::fetch {

bool IsIpLiteral(std::string_view host) {
    std::string text(host);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
        text = text.substr(1, text.size() - 2);
    }
    unsigned char address[16];
    return ::inet_pton(AF_INET, text.c_str(), address) == 1 ||
           ::inet_pton(AF_INET6, text.c_str(), address) == 1;
}

}  // namespace velnora::fetch
