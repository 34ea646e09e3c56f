#ifndef DBC_NODE_H
#define DBC_NODE_H

#include <string>

namespace DBC {

struct Node
{
    std::string name;
    std::string comment;
};

} // namespace DBC

#endif // DBC_NODE_H
