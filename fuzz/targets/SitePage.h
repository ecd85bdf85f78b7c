#pragma once
// The site readers' targets: the bytes as a page of one site, polled as the lookup window
// polls it.

#include "lookup/Sites.h"

#include <cstddef>
#include <cstdint>

namespace FuzzSite {

/// The first line of the bytes is the page's path on the site, the rest its HTML.
int pollPage(SiteKind kind, const std::uint8_t *data, std::size_t size);

} // namespace FuzzSite
