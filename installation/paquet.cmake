# The Debian package, built by paquet.sh with CPack's DEB generator. Library
# dependencies come from dpkg-shlibdeps; the font is the one package named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Velmora developers <maintainers@velmora.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "five-card-draw video poker")
# The long description, one paragraph per blank line; CPack indents it.
set(CPACK_PACKAGE_DESCRIPTION "Velmora is a video-poker game for the desktop. You start with 50 credits,
stake them with chips, get five cards from a freshly shuffled deck, mark
the cards to exchange and draw once; the hand is paid by a fixed pay table,
from a pair to the royal flush. Played with the mouse; the texts are in
French. Chips, cards and wins are heard, with sounds synthesized by the
game's own generator; the sound can be turned off.

The package also contains velmora-conseil, a command-line advisor that
computes exactly which cards to hold for the game's pay table.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://velmora.example.org)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
