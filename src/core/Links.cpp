#include "core/Links.h"

#include "settings/clsIni.h"

namespace Links {

QString externalAddressUrl(clsIni &settings) {
    return settings.ReadString(Section, QStringLiteral("ExternalAddressUrl"),
                               QStringLiteral(ZELVI_EXTERNAL_ADDRESS_URL));
}

QString routerUrl(clsIni &settings) {
    return settings.ReadString(Section, QStringLiteral("RouterUrl"),
                               QStringLiteral(ZELVI_ROUTER_URL));
}

QString portTestUrl(clsIni &settings) {
    return settings.ReadString(Section, QStringLiteral("PortTestUrl"),
                               QStringLiteral(ZELVI_PORT_TEST_URL));
}

} // namespace Links
