// The texts of the advanced mode wizard's pages: captions ("&&" shows as "&") and the
// explanations, exactly as the program shows them.
#pragma once
#include <array>

namespace quelvar::advanced_texts {

inline constexpr std::array<const char*, 8> kPageCaptions = {
    "Step 1 of 8 : Connection type",
    "Step 2 of 8 : MTU Settings",
    "Step 3 of 8 : Other MTU Settings",
    "Step 4 of 8 : RWIN Settings",
    "Step 5 of 8 : TTL && IE Optimization",
    "Step 6 of 8 :  Keep Alive Settigns",
    "Step 7 of 8 :  SYN Flood Attack Settings && NDI Cache",
    "Step 8 of 8 : ICMP Redirect Attack Setting",
};

inline constexpr std::array<const char*, 4> kConnectionTypes = {
    "Dial Up Connection (Modem).", "Cable Modem.", "Digital  Subscriber Line (DSL).",
    "LAN Connection(Ethernet)."};

inline constexpr const char* kMTUExplain =
    "MTU stands for Maximum Transmission Unit and in basic terms, it defines the maximum size of "
    "a packet that can be transferred in one frame over a network.";
inline constexpr const char* kMSSExplain =
    "MSS or Maximum Segment Size defines how much actual data can put in that packet, and it is "
    "therefore a marginally smaller value than MTU to allow for packet addressing and other "
    "information.";
inline constexpr const char* kBlackHoleExplain =
    "Black hole routers are configured not to return the Destination Host Unreachable messages "
    "that are used by path MTU discovery. If the PC sending out the packet receives a "
    "Destination Host Unreachable message, it means that the MTU for that particular network "
    "may be too high; in this case, TCP/IP will try to use a lower value.";
inline constexpr const char* kMTUDiscoverExplain =
    "Remote networks also have an MTU value. Enabling this registry key tells TCP/IP to try to "
    "automatically detect the MTU for all networks along the path to a remote host. ";
inline constexpr const char* kRWINExplain =
    "RWIN (Receive WINdow) is the maximum TCP Receive Window size offered by the system.*The "
    "receive window specifies the number of bytes a sender may transmit without receiving an "
    "acknowledgment.**In general, larger receive windows will improve performance over high "
    "(delay . bandwidth) networks.**For highest efficiency, the receive window should be an "
    "even multiple of the TCP Maximum Segment Size (MSS).";
inline constexpr const char* kTTLExplain =
    "The value of TTL (Time To Live) defines how long a packet can stay active before it is "
    "thrown away: every router that passes the packet on lowers the value by one, and the "
    "packet is dropped when it reaches zero, so a packet that has lost its way cannot circle "
    "the network for ever.";
inline constexpr const char* kIEExplain =
    "Optimize Internet Explorer by setting the maximum number of simultaneous requests for "
    "accessing type 1.0 or 1.1 HTTP servers.";
inline constexpr const char* kKeepAliveTimeExplain =
    "Keep Alive Time is the number of milliseconds to wait before sending keep alive packets , "
    "which are used in order to tell the network that you are still online so that the "
    "connection won't be disconnected.";
inline constexpr const char* kKeepAliveIntervalExplain =
    "Keep Alive Interval is the time in milliseconds between retransmissions of keepalives, once "
    "the Keep Alive Time has expired.";
inline constexpr const char* kSYNExplain =
    "Windows includes protection that allows it to detect and adjust when the system is being "
    "targeted with a SYN flood attack (a type of denial of service attack). When enabled the "
    "connection responses time out more quickly in the event of an attack. ";
inline constexpr const char* kNDIDescription =
    "The NDI cache size is the size of the cache of the Network Device. This size is set to 16 "
    "by default.  16 is appropriate for modem use, 32 is used for all other types of "
    "connections.";
inline constexpr const char* kICMPExplain =
    "Your computer may stop responding when connected to an internet work segment or to the "
    "Internet. If the computer is disconnected from the network segment or the Internet and "
    "then restarted, the problem does not occur again until the computer is reconnected to the "
    "network segment or Internet.  This problem is caused by the receipt of multiple Internet "
    "Control Message Protocol (ICMP) Redirect packets that are used to change routing table "
    "entries. Too many ICMP Redirect packets in a short period of time may cause Windows to "
    "dedicate an inordinate amount of CPU time to update the routing table and cause the "
    "computer to stop responding.";

}  // namespace quelvar::advanced_texts
