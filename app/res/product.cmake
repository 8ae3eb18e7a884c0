# What the program says about itself, in one place: the version the footer shows, the
# version resource and the installer carry, and the vendor's credit line, tooltip and home
# page (an address under a domain reserved for examples until the product has a site).
# The main skin (skins/main.xml.in) and Product.h.in take their texts from here.
set(LORVIK_PRODUCT_VERSION 1.0.0.2)
set(LORVIK_VENDOR_CREDIT "技术支持：Lorvik")
set(LORVIK_VENDOR_URL "https://lorvik.example.com/")
set(LORVIK_VENDOR_TOOLTIP "访问 Lorvik 网站：${LORVIK_VENDOR_URL}")
