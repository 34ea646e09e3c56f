// One message of the loaded DBC file as the frame-parsing window keeps it:
// whether its frames are decoded, and the message inside the window's
// network (not owned).
#pragma once

namespace DBC {
struct Message;
}

struct DBCMessageEntry {
    bool enabled = true;
    const DBC::Message *message = nullptr;
};
