// The five identity fields read from the device's status page. Written only
// by the page fetch, never cleared: a page without a label keeps the field.
#pragma once

struct DeviceInfo {
    char product_name[128];
    char mac_address[128];
    char software_version[128];
    char hardware_version[128];
    char serial_number[128];
};
