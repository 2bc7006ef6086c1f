#pragma once

// The program settings a check reads, taken when it starts.

#include <string>

namespace velnora::fetch {

struct CheckSettings {
    int use_proxy = 0;
    std::string proxy_url;
    int proxy_port = 8080;
    int use_head = 1;
    int retry = 3;
    int timeout = 30;  // seconds
    int n_reload = 3;
    int nochange_msg = 1;
    int ignore_image_name = 1;
    int finish_message = 1;
    int use_notify_sound = 0;
    std::string notify_sound;
    int follow_redirects = 1;
};

}  // namespace velnora::fetch
