#pragma once
// How to reach the maker, as the About box shows it. The company name is string 1081; the rest
// is kept here, in one place, so that a change of address touches nothing else.

namespace MakerDetails {
inline constexpr char kAuthorInitials[] = "K.T.";
inline constexpr char kStreetAddress[] = "Unit 7, Harrowgate Industrial Estate";
inline constexpr char kPostalBox[] = "PO Box 3318";
inline constexpr char kCityAndCountry[] = "Wexbury, United Kingdom";
inline constexpr char kTelephone[] = "+44 1632 960418";
inline constexpr char kFax[] = "+44 1632 960419";
inline constexpr char kEmail[] = "service@kestrane.example";
inline constexpr char kWeb[] = "www.kestrane.example";
} // namespace MakerDetails
