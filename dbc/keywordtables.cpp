#include "keywordtables.h"

#include "attributedefinition.h"

namespace Quillon {

const KeywordTables keywordTables;

KeywordTables::KeywordTables()
{
    byteOrder.add("0", DBC::Motorola)("1", DBC::Intel);
    valueType.add("+", DBC::Unsigned)("-", DBC::Signed);

    using Env = DBC::EnvironmentVariable;
    environmentType.add("0", Env::Integer)("1", Env::Float)("2", Env::String)
            ("s", Env::StringType)("d", Env::DataType);

    accessType.add("DUMMY_NODE_VECTOR0", Env::Unrestricted)("DUMMY_NODE_VECTOR1", Env::Read)
            ("DUMMY_NODE_VECTOR2", Env::Write)("DUMMY_NODE_VECTOR3", Env::ReadWrite);

    using Object = DBC::AttributeObjectType;
    attributeObjectType.add("BU_", int32_t(Object::Node))("BO_", int32_t(Object::Message))
            ("SG_", int32_t(Object::Signal))("EV_", int32_t(Object::EnvironmentVariable))
            ("BU_EV_REL_", int32_t(Object::NodeEnvironmentVariable))
            ("BU_BO_REL_", int32_t(Object::NodeMessage))
            ("BU_SG_REL_", int32_t(Object::NodeSignal));
}

} // namespace Quillon
