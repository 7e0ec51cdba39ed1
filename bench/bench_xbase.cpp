// Times the xBase engine on synthetic address tables: generating them, the filter
// count side by side with a C read() loop, a C memory-map loop and Python's dbf
// package over the same file, a full scan, pack, the 26 tags, seeks, walks and bulk
// changes with all tags open, one by one and in batches.
//
//   bench_xbase [--sizes 100000,1000000] [--dir /tmp/quillory-bench] [--keep]
//   bench_xbase --scan TABLE
//
// Every figure times the work it names: the count opens the table anew each time,
// so no count kept from before answers it. The tables use the 23-field address-file
// layout and are generated from a fixed seed, so every run writes the same bytes.
// They are deleted afterwards unless --keep is given. bench/run-engine-bench.sh adds
// whole-process figures of the command line with their peak memory.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AddressFile.h"
#include "Table.h"

using namespace xbase;

namespace {

// ---------------------------------------------------------------------------
// Deterministic random numbers (xorshift64*): the same data on every platform.

class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    // 0 <= n < bound.
    uint32_t below(uint32_t bound) { return uint32_t((next() >> 32) % bound); }
    // True `percent` percent of the time (tenths allowed: chance(0.5)).
    bool chance(double percent) { return below(100000) < uint32_t(percent * 1000); }
    // An index into a list of n, the first entries the most common.
    uint32_t skewed(uint32_t n) {
        const double u = double(below(1u << 30)) / double(1u << 30);
        return uint32_t(u * std::sqrt(u) * n);
    }
    template <size_t N>
    const char* pick(const char* const (&list)[N]) {
        return list[below(N)];
    }

  private:
    uint64_t state_;
};

// ---------------------------------------------------------------------------
// Source data.

const char* const kLastNames[] = {
    "Smith",      "Johnson",  "Williams",   "Brown",    "Jones",     "Garcia",    "Miller",    "Davis",
    "Rodriguez",  "Martinez", "Hernandez",  "Lopez",    "Gonzalez",  "Wilson",    "Anderson",  "Thomas",
    "Taylor",     "Moore",    "Jackson",    "Martin",   "Lee",       "Perez",     "Thompson",  "White",
    "Harris",     "Sanchez",  "Clark",      "Ramirez",  "Lewis",     "Robinson",  "Walker",    "Young",
    "Allen",      "King",     "Wright",     "Scott",    "Torres",    "Nguyen",    "Hill",      "Flores",
    "Green",      "Adams",    "Nelson",     "Baker",    "Hall",      "Rivera",    "Campbell",  "Mitchell",
    "Carter",     "Roberts",  "Gomez",      "Phillips", "Evans",     "Turner",    "Diaz",      "Parker",
    "Cruz",       "Edwards",  "Collins",    "Reyes",    "Stewart",   "Morris",    "Morales",   "Murphy",
    "Cook",       "Rogers",   "Gutierrez",  "Ortiz",    "Morgan",    "Cooper",    "Peterson",  "Bailey",
    "Reed",       "Kelly",    "Howard",     "Ramos",    "Kim",       "Cox",       "Ward",      "Richardson",
    "Watson",     "Brooks",   "Chavez",     "Wood",     "James",     "Bennett",   "Gray",      "Mendoza",
    "Ruiz",       "Hughes",   "Price",      "Alvarez",  "Castillo",  "Sanders",   "Patel",     "Myers",
    "Long",       "Ross",     "Foster",     "Jimenez",  "Powell",    "Jenkins",   "Perry",     "Russell",
    "Sullivan",   "Bell",     "Coleman",    "Butler",   "Henderson", "Barnes",    "Gonzales",  "Fisher",
    "Vasquez",    "Simmons",  "Romero",     "Jordan",   "Patterson", "Alexander", "Hamilton",  "Graham",
    "Reynolds",   "Griffin",  "Wallace",    "Moreno",   "West",      "Cole",      "Hayes",     "Bryant",
    "Herrera",    "Gibson",   "Ellis",      "Tran",     "Medina",    "Aguilar",   "Stevens",   "Murray",
    "Ford",       "Castro",   "Marshall",   "Owens",    "Harrison",  "Fernandez", "McDonald",  "Woods",
    "Washington", "Kennedy",  "Wells",      "Vargas",   "Henry",     "Chen",      "Freeman",   "Webb",
    "Tucker",     "Guzman",   "Burns",      "Crawford", "Olson",     "Simpson",   "Porter",    "Hunter",
    "Gordon",     "Mendez",   "Silva",      "Shaw",     "Snyder",    "Mason",     "Dixon",     "Munoz",
    "Hunt",       "Hicks",    "Holmes",     "Palmer",   "Wagner",    "Black",     "Robertson", "Boyd",
    "Rose",       "Stone",    "Salazar",    "Fox",      "Warren",    "Mills",     "Meyer",     "Rice",
    "Schmidt",    "Garza",    "Daniels",    "Ferguson", "Nichols",   "Stephens",  "Soto",      "Weaver",
    "Ryan",       "Gardner",  "Payne",      "Grant",    "Dunn",      "Kelley",    "Spencer",   "Hawkins",
    "Arnold",     "Pierce",   "Vazquez",    "Hansen",   "Peters",    "Santos",    "Hart",      "Bradley",
    "Knight",     "Elliott",  "Cunningham", "Duncan",   "Armstrong", "Hudson",    "Carroll",   "Lane",
    "Riley",      "Andrews",  "Alvarado",   "Ray",      "Delgado",   "Berry",     "Perkins",   "Hoffman",
    "Johnston",   "Matthews", "Pena",       "Richards", "Contreras", "Willis",    "Carpenter", "Lawrence",
    "Sandoval",   "Small",    "Smalley",    "Smart",    "Smyth",     "Smithson",  "Smiley",    "Smoot",
    "O'Brien",    "O'Connor", "MacKenzie",  "DeLuca",   "Van Buren", "St. John",  "Schultz",   "Novak",
};

const char* const kFirstNames[] = {
    "James",     "Mary",       "John",      "Patricia",  "Robert",      "Jennifer",  "Michael", "Linda",
    "William",   "Elizabeth",  "David",     "Barbara",   "Richard",     "Susan",     "Joseph",  "Jessica",
    "Thomas",    "Sarah",      "Charles",   "Karen",     "Christopher", "Nancy",     "Daniel",  "Lisa",
    "Matthew",   "Betty",      "Anthony",   "Margaret",  "Mark",        "Sandra",    "Donald",  "Ashley",
    "Steven",    "Kimberly",   "Paul",      "Emily",     "Andrew",      "Donna",     "Joshua",  "Michelle",
    "Kenneth",   "Dorothy",    "Kevin",     "Carol",     "Brian",       "Amanda",    "George",  "Melissa",
    "Edward",    "Deborah",    "Ronald",    "Stephanie", "Timothy",     "Rebecca",   "Jason",   "Sharon",
    "Jeffrey",   "Laura",      "Ryan",      "Cynthia",   "Jacob",       "Kathleen",  "Gary",    "Amy",
    "Nicholas",  "Shirley",    "Eric",      "Angela",    "Jonathan",    "Helen",     "Stephen", "Anna",
    "Larry",     "Brenda",     "Justin",    "Pamela",    "Scott",       "Nicole",    "Brandon", "Emma",
    "Benjamin",  "Samantha",   "Samuel",    "Katherine", "Gregory",     "Christine", "Frank",   "Debra",
    "Alexander", "Rachel",     "Raymond",   "Catherine", "Patrick",     "Carolyn",   "Jack",    "Janet",
    "Dennis",    "Ruth",       "Jerry",     "Maria",     "Tyler",       "Heather",   "Aaron",   "Diane",
    "Jose",      "Virginia",   "Adam",      "Julie",     "Henry",       "Joyce",     "Nathan",  "Victoria",
    "Douglas",   "Olivia",     "Zachary",   "Kelly",     "Peter",       "Christina", "Kyle",    "Lauren",
    "Walter",    "Joan",       "Ethan",     "Evelyn",    "Jeremy",      "Judith",    "Harold",  "Megan",
    "Keith",     "Cheryl",     "Christian", "Andrea",    "Roger",       "Hannah",    "Noah",    "Martha",
    "Gerald",    "Jacqueline", "Carl",      "Frances",   "Terry",       "Gloria",    "Sean",    "Ann",
    "Austin",    "Teresa",     "Arthur",    "Kathryn",   "Lawrence",    "Sara",      "Jesse",   "Janice",
    "Dylan",     "Jean",       "Bryan",     "Alice",     "Joe",         "Madison",   "Jordan",  "Doris",
    "Billy",     "Abigail",    "Bruce",     "Julia",     "Albert",      "Judy",      "Willie",  "Grace",
    "Gabriel",   "Denise",     "Logan",     "Amber",     "Alan",        "Marilyn",   "Juan",    "Beverly",
    "Wayne",     "Danielle",   "Roy",       "Theresa",   "Ralph",       "Sophia",    "Randy",   "Marie",
    "Eugene",    "Diana",      "Vincent",   "Brittany",  "Russell",     "Natalie",   "Louis",   "Isabella",
    "Bobby",     "Rose",       "Philip",    "Alexis",    "Johnny",      "Kayla",     "Tom",     "Bill",
};

struct City {
    const char* name;
    const char* state;
    const char* zip3;  // first three ZIP digits
    const char* area;  // a telephone area code there
};

const City kCities[] = {
    {"New York", "NY", "100", "212"},       {"Brooklyn", "NY", "112", "718"},
    {"Buffalo", "NY", "142", "716"},        {"Albany", "NY", "122", "518"},
    {"Los Angeles", "CA", "900", "213"},    {"San Francisco", "CA", "941", "415"},
    {"San Diego", "CA", "921", "619"},      {"Sacramento", "CA", "958", "916"},
    {"Fresno", "CA", "937", "559"},         {"Chicago", "IL", "606", "312"},
    {"Springfield", "IL", "627", "217"},    {"Peoria", "IL", "616", "309"},
    {"Houston", "TX", "770", "713"},        {"Dallas", "TX", "752", "214"},
    {"Austin", "TX", "787", "512"},         {"San Antonio", "TX", "782", "210"},
    {"El Paso", "TX", "799", "915"},        {"Phoenix", "AZ", "850", "602"},
    {"Tucson", "AZ", "857", "520"},         {"Philadelphia", "PA", "191", "215"},
    {"Pittsburgh", "PA", "152", "412"},     {"Harrisburg", "PA", "171", "717"},
    {"Jacksonville", "FL", "322", "904"},   {"Miami", "FL", "331", "305"},
    {"Tampa", "FL", "336", "813"},          {"Orlando", "FL", "328", "407"},
    {"Columbus", "OH", "432", "614"},       {"Cleveland", "OH", "441", "216"},
    {"Cincinnati", "OH", "452", "513"},     {"Indianapolis", "IN", "462", "317"},
    {"Fort Wayne", "IN", "468", "260"},     {"Charlotte", "NC", "282", "704"},
    {"Raleigh", "NC", "276", "919"},        {"Seattle", "WA", "981", "206"},
    {"Spokane", "WA", "992", "509"},        {"Denver", "CO", "802", "303"},
    {"Boulder", "CO", "803", "303"},        {"Boston", "MA", "021", "617"},
    {"Worcester", "MA", "016", "508"},      {"Detroit", "MI", "482", "313"},
    {"Grand Rapids", "MI", "495", "616"},   {"Nashville", "TN", "372", "615"},
    {"Memphis", "TN", "381", "901"},        {"Portland", "OR", "972", "503"},
    {"Eugene", "OR", "974", "541"},         {"Las Vegas", "NV", "891", "702"},
    {"Reno", "NV", "895", "775"},           {"Louisville", "KY", "402", "502"},
    {"Baltimore", "MD", "212", "410"},      {"Milwaukee", "WI", "532", "414"},
    {"Madison", "WI", "537", "608"},        {"Albuquerque", "NM", "871", "505"},
    {"Atlanta", "GA", "303", "404"},        {"Savannah", "GA", "314", "912"},
    {"Kansas City", "MO", "641", "816"},    {"St. Louis", "MO", "631", "314"},
    {"Omaha", "NE", "681", "402"},          {"Minneapolis", "MN", "554", "612"},
    {"Saint Paul", "MN", "551", "651"},     {"New Orleans", "LA", "701", "504"},
    {"Salt Lake City", "UT", "841", "801"}, {"Richmond", "VA", "232", "804"},
    {"Norfolk", "VA", "235", "757"},        {"Birmingham", "AL", "352", "205"},
    {"Hartford", "CT", "061", "860"},       {"Providence", "RI", "029", "401"},
    {"Burlington", "VT", "054", "802"},     {"Portland", "ME", "041", "207"},
    {"Manchester", "NH", "031", "603"},     {"Des Moines", "IA", "503", "515"},
    {"Little Rock", "AR", "722", "501"},    {"Oklahoma City", "OK", "731", "405"},
    {"Tulsa", "OK", "741", "918"},          {"Wichita", "KS", "672", "316"},
    {"Boise", "ID", "837", "208"},          {"Billings", "MT", "591", "406"},
    {"Fargo", "ND", "581", "701"},          {"Sioux Falls", "SD", "571", "605"},
    {"Cheyenne", "WY", "820", "307"},       {"Anchorage", "AK", "995", "907"},
    {"Honolulu", "HI", "968", "808"},       {"Charleston", "SC", "294", "843"},
    {"Columbia", "SC", "292", "803"},       {"Jackson", "MS", "392", "601"},
    {"Wilmington", "DE", "198", "302"},     {"Newark", "NJ", "071", "973"},
    {"Trenton", "NJ", "086", "609"},        {"Washington", "DC", "200", "202"},
};

const char* const kStreetNames[] = {
    "Main",     "Oak",       "Maple",  "Cedar",    "Pine",    "Elm",     "Washington", "Lake",
    "Hill",     "Park",      "Walnut", "Sunset",   "Lincoln", "Jackson", "Church",     "River",
    "Highland", "Franklin",  "Center", "Chestnut", "Spring",  "Madison", "Ridge",      "Meadow",
    "Forest",   "Jefferson", "Willow", "Dogwood",  "Mill",    "Adams",   "Lakeview",   "Cherry",
    "Hickory",  "Birch",     "Valley", "Broadway", "Market",  "Union",   "Prospect",   "Summit",
    "North",    "South",     "1st",    "2nd",      "3rd",     "5th",     "Fairview",   "Woodland",
};
const char* const kStreetKinds[] = {"St",  "Street", "Ave",  "Avenue", "Rd",  "Road", "Blvd",
                                    "Dr",  "Drive",  "Ln",   "Lane",   "Ct",  "Way",  "Pl",
                                    "St.", "Ave.",   "Pkwy", "Cir",    "Ter", "Hwy"};
const char* const kPrefixes[] = {"Mr.", "Mrs.", "Ms.", "Dr.", "Mr", "Ms", "Rev.", "Prof."};
const char* const kTitles[] = {"Manager",   "Director of Sales", "President", "Owner",          "Accountant",
                               "Teacher",   "Engineer",          "Pastor",    "Office Manager", "CEO",
                               "Treasurer", "Secretary",         "Nurse",     "Attorney",       "Consultant"};
const char* const kOrgSuffixes[] = {"& Sons", "Associates", "Inc.",   "LLC",   "Hardware",    "Insurance",
                                    "Realty", "Law Office", "Dental", "Farms", "Auto Repair", "Bakery"};
const char* const kOrgs[] = {"First Baptist Church", "Lincoln High School", "City of Springfield",
                             "St. Mary's Parish",    "County Library",      "Rotary Club",
                             "Chamber of Commerce",  "Memorial Hospital",   "State University"};
const char* const kApartments[] = {"Apt 1",  "Apt 2B", "Apt 12",  "Suite 100", "Suite 210",
                                   "Unit 4", "#3",     "Apt. 7C", "Floor 2",   "Bldg C"};
const char* const kDomains[] = {"gmail.com",   "yahoo.com",   "aol.com",       "hotmail.com",
                                "outlook.com", "comcast.net", "earthlink.net", "example.org"};
const char* const kMemos[] = {
    "Met at the spring fundraiser. Prefers e-mail.",
    "Do not call before 10 am.",
    "Moved from Ohio in 2015; previous address on file.",
    "Sent thank-you letter for donation.\r\nFollow up in March.",
    "Board member 2010-2014. Ask about the newsletter committee.",
    "Returned mail twice - verify address.",
    "Spouse: see record for the same street address.",
    "Interested in volunteering on weekends.",
};

std::string lowerCase(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string upperCase(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
// Names as people type them: mostly capitalised, now and then all lower or upper case.
std::string asTyped(Random& rng, const char* name) {
    const uint32_t r = rng.below(1000);
    if (r < 15) return lowerCase(name);
    if (r < 30) return upperCase(name);
    return name;
}
std::string digits(Random& rng, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += char('0' + rng.below(10));
    return s;
}
std::string phone(Random& rng, const char* area) {
    return "(" + std::string(area) + ") " + digits(rng, 3) + "-" + digits(rng, 4);
}

// ---------------------------------------------------------------------------
// The address table.

enum FieldIndex {
    LNAME,
    FNAME,
    MIDDLE,
    PREFIX,
    TITLE,
    ORG,
    STREET,
    STREET2,
    CITY,
    STATE,
    ZIP,
    COUNTRY,
    DATE,
    PHONE,
    PHONE2,
    FAX,
    EMAIL,
    CODES,
    USER1,
    USER2,
    ISDEL,
    TAG,
    MEMO,
    kFieldCount
};

TableSpec addressTable() {
    TableSpec design;
    design.fields = {{"LNAME", 'C', 30}, {"FNAME", 'C', 30}, {"MIDDLE", 'C', 1},  {"PREFIX", 'C', 12},
                     {"TITLE", 'C', 30}, {"ORG", 'C', 30},   {"STREET", 'C', 40}, {"STREET2", 'C', 40},
                     {"CITY", 'C', 30},  {"STATE", 'C', 20}, {"ZIP", 'C', 10},    {"COUNTRY", 'C', 30},
                     {"DATE", 'C', 15},  {"PHONE", 'C', 30}, {"PHONE2", 'C', 30}, {"FAX", 'C', 40},
                     {"EMAIL", 'C', 40}, {"CODES", 'C', 30}, {"USER1", 'C', 40},  {"USER2", 'C', 40},
                     {"ISDEL", 'L', 1},  {"TAG", 'C', 8},    {"MEMO", 'M', 10}};
    return design;
}

// Fills values[] with one synthetic address; returns whether it is to be deleted.
bool makeAddress(Random& rng, std::vector<std::string>& v, std::string* memo) {
    for (std::string& s : v) s.clear();
    const char* last = kLastNames[rng.skewed(sizeof kLastNames / sizeof *kLastNames)];
    const char* first = kFirstNames[rng.skewed(sizeof kFirstNames / sizeof *kFirstNames)];
    const City& city = kCities[rng.skewed(sizeof kCities / sizeof *kCities)];

    v[LNAME] = asTyped(rng, last);
    if (!rng.chance(1)) v[FNAME] = asTyped(rng, first);
    if (rng.chance(35)) v[MIDDLE] = std::string(1, char('A' + rng.below(26)));
    if (rng.chance(40)) v[PREFIX] = rng.pick(kPrefixes);
    if (rng.chance(20)) v[TITLE] = rng.pick(kTitles);
    if (rng.chance(15)) {
        v[ORG] = std::string(last) + " " + rng.pick(kOrgSuffixes);
    } else if (rng.chance(5)) {
        v[ORG] = rng.pick(kOrgs);
    }
    if (rng.chance(4)) {
        v[STREET] = "P.O. Box " + std::to_string(1 + rng.below(9999));
    } else {
        v[STREET] = std::to_string(1 + rng.skewed(19999)) + " " + rng.pick(kStreetNames) + " " +
                    rng.pick(kStreetKinds);
    }
    if (rng.chance(12)) v[STREET2] = rng.pick(kApartments);
    if (!rng.chance(0.5)) {
        v[CITY] = rng.chance(2) ? upperCase(city.name) : city.name;
        v[STATE] = city.state;
        v[ZIP] = city.zip3 + digits(rng, 2);
        if (rng.chance(15)) v[ZIP] += "-" + digits(rng, 4);
    }
    if (rng.chance(6)) v[COUNTRY] = rng.chance(80) ? "USA" : "United States";
    if (rng.chance(70)) {
        v[DATE] = std::to_string(1 + rng.below(12)) + "/" + std::to_string(1 + rng.below(28)) + "/" +
                  std::to_string(1988 + rng.below(38));
    }
    if (rng.chance(85)) v[PHONE] = phone(rng, city.area);
    if (rng.chance(20)) v[PHONE2] = phone(rng, city.area);
    if (rng.chance(8)) v[FAX] = phone(rng, city.area);
    if (rng.chance(55)) {
        v[EMAIL] = lowerCase(std::string(first)) + (rng.chance(50) ? "." : "") +
                   lowerCase(std::string(last)) + (rng.chance(30) ? std::to_string(rng.below(100)) : "") +
                   "@" + rng.pick(kDomains);
        std::string clean;
        for (char c : v[EMAIL]) {
            if (c != ' ' && c != '\'') clean += c;
        }
        v[EMAIL] = clean;
    }
    if (rng.chance(60)) {
        const int n = 1 + int(rng.below(4));
        for (int i = 0; i < n; ++i) v[CODES] += "ABCDEFGHMPVX"[rng.below(12)];
    }
    if (rng.chance(5)) v[USER1] = "Member since " + std::to_string(1990 + rng.below(35));
    if (rng.chance(3)) v[USER2] = rng.chance(50) ? "Newsletter" : "Volunteer";
    const bool deleted = rng.chance(2);
    v[ISDEL] = deleted ? "T" : "F";
    if (rng.chance(2)) v[TAG] = "MAILED";
    memo->clear();
    if (rng.chance(0.5)) *memo = rng.pick(kMemos);
    return deleted;
}

// ---------------------------------------------------------------------------
// Timing and reporting.

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(const char* what, double secs, uint64_t records, const std::string& note = std::string()) {
    std::printf("  %-36s %9.4f s %12.0f rec/s  %s\n", what, secs, secs > 0 ? double(records) / secs : 0.0,
                note.c_str());
    std::fflush(stdout);
}

[[noreturn]] void fail(const std::string& what, const Status& s) {
    std::fprintf(stderr, "bench_xbase: %s: %s\n", what.c_str(), s.toString().c_str());
    std::exit(1);
}
void check(const Status& s, const std::string& what) {
    if (!s.ok()) fail(what, s);
}

// The count done by hand over the raw bytes of a table: LNAME's first two bytes
// upper-cased equal "SM" and ISDEL is not true. The yardstick a scan is held to.
struct RawLayout {
    uint32_t recCount = 0, headerLength = 0, recordLength = 0;
    uint32_t lnameOffset = 0, isdelOffset = 0;
};

inline bool rawMatch(const unsigned char* rec, const RawLayout& l) {
    const unsigned char a = rec[l.lnameOffset], b = rec[l.lnameOffset + 1], del = rec[l.isdelOffset];
    const bool sm = (a == 'S' || a == 's') && (b == 'M' || b == 'm');
    const bool isdel = del == 'T' || del == 't' || del == 'Y' || del == 'y';
    return sm && !isdel;
}

// read() into one reused buffer, whole records at a time.
uint32_t readLoopCount(const std::string& path, const RawLayout& l) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    const size_t perBlock = (1u << 20) / l.recordLength;
    std::vector<unsigned char> buf(perBlock * l.recordLength);
    uint32_t n = 0;
    off_t offset = l.headerLength;
    for (uint32_t left = l.recCount; left > 0;) {
        const size_t want = std::min<size_t>(left, perBlock) * l.recordLength;
        size_t got = 0;
        while (got < want) {
            const ssize_t r = ::pread(fd, buf.data() + got, want - got, offset + off_t(got));
            if (r <= 0) {
                std::perror("read");
                std::exit(1);
            }
            got += size_t(r);
        }
        const uint32_t records = uint32_t(want / l.recordLength);
        for (uint32_t i = 0; i < records; ++i) n += rawMatch(buf.data() + size_t(i) * l.recordLength, l);
        left -= records;
        offset += off_t(want);
    }
    ::close(fd);
    return n;
}

// The same over a fresh memory map of the file.
uint32_t mmapLoopCount(const std::string& path, const RawLayout& l) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    void* map = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        std::perror("mmap");
        std::exit(1);
    }
    const unsigned char* rec = static_cast<const unsigned char*>(map) + l.headerLength;
    uint32_t n = 0;
    for (uint32_t r = 0; r < l.recCount; ++r, rec += l.recordLength) n += rawMatch(rec, l);
    ::munmap(map, size_t(st.st_size));
    return n;
}

// The header read by hand, as a program without the engine would.
RawLayout rawLayout(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    unsigned char h[32];
    if (!f || std::fread(h, 1, sizeof h, f) != sizeof h) {
        std::perror(path.c_str());
        std::exit(1);
    }
    RawLayout l;
    l.recCount = uint32_t(h[4] | h[5] << 8 | h[6] << 16 | uint32_t(h[7]) << 24);
    l.headerLength = uint32_t(h[8] | h[9] << 8);
    l.recordLength = uint32_t(h[10] | h[11] << 8);
    uint32_t offset = 1;
    unsigned char d[32];
    while (std::fread(d, 1, 1, f) == 1 && d[0] != 0x0D && std::fread(d + 1, 1, 31, f) == 31) {
        const std::string name(reinterpret_cast<const char*>(d),
                               strnlen(reinterpret_cast<const char*>(d), 11));
        if (name == "LNAME") l.lnameOffset = offset;
        if (name == "ISDEL") l.isdelOffset = offset;
        offset += d[16];
    }
    std::fclose(f);
    if (!l.lnameOffset || !l.isdelOffset) {
        std::fprintf(stderr, "bench_xbase: %s has no LNAME or ISDEL\n", path.c_str());
        std::exit(1);
    }
    return l;
}

// Best of `runs` timings of `work`.
double bestOf(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) best = std::min(best, seconds(work));
    return best;
}

void ratio(const char* what, double a, double b) {
    std::printf("  %-36s %9.1fx\n", what, b > 0 ? a / b : 0.0);
}

// Where this program's own sources are, for the Python script beside it.
std::string benchDir() { return QUILLORY_BENCH_DIR; }

const char* const kQuery = "UPPER(LNAME)=\"SM\" .AND. !ISDEL";

// The filter count: the engine with the table opened anew every time (so that no
// count kept from before answers), a C read() loop and a C memory-map loop over the
// same bytes, and Python's dbf package when it is installed.
void timeCounts(const std::string& path) {
    const RawLayout raw = rawLayout(path);
    std::printf("  count of %s\n", kQuery);
    uint32_t engine = 0, openOnly = 0;
    const double openSecs = bestOf(3, [&] {
        std::unique_ptr<Table> table;
        check(Table::open(path, OpenMode::ReadOnlyShared, &table), "open");
        openOnly = table->recCount();
    });
    const double engineSecs = bestOf(5, [&] {
        std::unique_ptr<Table> table;
        check(Table::open(path, OpenMode::ReadOnlyShared, &table), "open");
        table->setDeleted(true);
        check(table->query(kQuery), "query");
        engine = table->queryRecCount();
    });
    uint32_t c = 0, mapped = 0;
    const double readSecs = bestOf(5, [&] { c = readLoopCount(path, raw); });
    const double mmapSecs = bestOf(3, [&] { mapped = mmapLoopCount(path, raw); });
    report("engine: open + count, best of 5", engineSecs, raw.recCount, std::to_string(engine) + " match");
    report("  of it the open alone, best of 3", openSecs, openOnly);
    report("C read() loop, best of 5", readSecs, raw.recCount, std::to_string(c) + " match");
    report("C mmap loop, best of 3", mmapSecs, raw.recCount, std::to_string(mapped) + " match");
    if (engine != c || mapped != c) {
        std::fprintf(stderr, "bench_xbase: the engine counted %u, the C loops %u and %u\n", engine, c,
                     mapped);
        std::exit(1);
    }
    // Python's dbf package, once: it takes long.
    const std::string script = benchDir() + "/pydbf_count.py";
    const std::string command = "/usr/bin/python3 " + script + " '" + path + "' 2>/dev/null";
    char out[64] = {0};
    int status = -1;
    const double pySecs = seconds([&] {
        std::FILE* p = ::popen(command.c_str(), "r");
        if (!p) return;
        if (!std::fgets(out, sizeof out, p)) out[0] = 0;
        status = ::pclose(p);
    });
    const bool havePython = status == 0 && out[0] != 0;
    if (havePython) {
        const uint32_t py = uint32_t(std::strtoul(out, nullptr, 10));
        report("Python dbf package, once", pySecs, raw.recCount, std::to_string(py) + " match");
        if (py != c) {
            std::fprintf(stderr, "bench_xbase: Python's dbf counted %u, the C loop %u\n", py, c);
            std::exit(1);
        }
    } else {
        std::printf("  Python's dbf package is not installed (python3-dbf): no Python figure\n");
    }
    ratio("engine / C read() loop", engineSecs, readSecs);
    ratio("engine / C mmap loop", engineSecs, mmapSecs);
    if (havePython) ratio("Python dbf / engine", pySecs, engineSecs);
}

// Changes every record of the table through `change` (true: the record changed),
// in natural order, as a bulk tool does; returns the records changed.
uint32_t everyRecord(Table& table, const std::function<bool(Table&)>& change) {
    uint32_t changed = 0;
    check(table.setOrder(0), "setOrder");
    check(table.goTop(), "goTop");
    while (!table.eof()) {
        changed += change(table);
        check(table.skip(), "skip");
    }
    check(table.commit(), "commit");
    return changed;
}

void copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
        std::fprintf(stderr, "bench_xbase: cannot copy %s: %s\n", from.c_str(), ec.message().c_str());
        std::exit(1);
    }
}

std::string withExt(const std::string& path, const char* ext) {
    return path.substr(0, path.rfind('.')) + ext;
}

// Generates the table (or takes the one a run with --keep left), then times the
// count, pack, the 26 tags, seeks, walks and the bulk changes on a copy of it.
void runSize(const std::string& dir, uint32_t records, bool keep) {
    const std::string path = dir + "/addr_" + std::to_string(records) + ".dbf";
    uint32_t deleted = 0;
    std::unique_ptr<Table> table;
    if (Table::open(path, OpenMode::ReadOnlyShared, &table).ok() && table->recCount() == records) {
        std::printf("%" PRIu32 " records, %u bytes each: %s (kept from an earlier run)\n", records,
                    table->layout().recordLength(), path.c_str());
        table->setDeleted(false);
        check(table->query("DELETED()"), "query");
        deleted = table->queryRecCount();
        table.reset();
    } else {
        table.reset();
        std::remove(path.c_str());
        std::remove(withExt(path, ".fpt").c_str());
        std::remove(withExt(path, ".cdx").c_str());
        const TableSpec design = addressTable();
        check(Table::create(path, design), "create " + path);
        check(Table::open(path, OpenMode::Exclusive, &table), "open " + path);
        std::printf("%" PRIu32 " records, %u bytes each: %s\n", records, table->layout().recordLength(),
                    path.c_str());
        uint32_t memos = 0;
        const double appendSecs = seconds([&] {
            Random rng(20240229);
            std::vector<std::string> values(kFieldCount);
            std::string memo;
            for (uint32_t r = 0; r < records; ++r) {
                const bool del = makeAddress(rng, values, &memo);
                check(table->appendBlank(), "append");
                for (int f = 0; f < MEMO; ++f) {
                    if (!values[size_t(f)].empty()) check(table->replace(f, values[size_t(f)]), "replace");
                }
                if (!memo.empty()) {
                    check(table->replace(MEMO, memo), "replace memo");
                    ++memos;
                }
                if (del) {
                    check(table->deleteRecord(), "delete");
                    ++deleted;
                }
            }
            check(table->commit(), "commit");
        });
        report("append (generate)", appendSecs, records,
               std::to_string(deleted) + " deleted, " + std::to_string(memos) + " memos");
        check(table->close(), "close");
        table.reset();
    }

    timeCounts(path);

    // Everything after this changes the table: it works on a copy.
    const std::string work = dir + "/work_" + std::to_string(records) + ".dbf";
    copyFile(path, work);
    copyFile(withExt(path, ".fpt"), withExt(work, ".fpt"));
    std::remove(withExt(work, ".cdx").c_str());
    check(Table::open(work, OpenMode::Exclusive, &table), "open " + work);

    // Full scan in natural order, reading one field of every record.
    uint32_t visited = 0;
    const double scanSecs = seconds([&] {
        check(table->goTop(), "goTop");
        while (!table->eof()) {
            ++visited;
            check(table->skip(), "skip");
        }
    });
    report("full scan (goTop/skip)", scanSecs, visited, std::to_string(visited) + " visited");

    const double packSecs = seconds([&] { check(table->pack(), "pack"); });
    report("pack", packSecs, records, std::to_string(table->recCount()) + " kept");
    if (table->recCount() != records - deleted) {
        std::fprintf(stderr, "bench_xbase: pack kept %u records, expected %u\n", table->recCount(),
                     records - deleted);
        std::exit(1);
    }
    const double tagSecs = seconds([&] {
        for (const AddressFile::TagDef& tag : AddressFile::tags())
            check(table->indexTag(tag.name, tag.key), tag.name);
    });
    report("26 tags built", tagSecs, table->recCount(), std::to_string(table->orderCount()) + " tags");
    report("pack + 26 tags", packSecs + tagSecs, records);

    // Seeks on last-name prefixes, as the Search dialog does.
    check(table->setOrder(table->tagArea("LNAME")), "setOrder");
    table->setDeleted(true);
    const int kSeeks = 20000;
    uint32_t hits = 0;
    const double seekSecs = seconds([&] {
        Random rng(7);
        for (int i = 0; i < kSeeks; ++i) {
            std::string key = kLastNames[rng.skewed(sizeof kLastNames / sizeof *kLastNames)];
            key = upperCase(key.substr(0, 1 + i % 4));
            bool found = false;
            check(table->seek(key, &found), "seek");
            hits += found;
        }
    });
    report("seek (LNAME prefix)", seekSecs, kSeeks, std::to_string(hits) + " found");

    visited = 0;
    const double walkSecs = seconds([&] {
        check(table->goTop(), "goTop");
        while (!table->eof()) {
            ++visited;
            check(table->skip(), "skip");
        }
    });
    report("walk in LNAME order", walkSecs, visited, std::to_string(visited) + " visited");

    // The filter count with the last-name order set, as the main window counts.
    check(table->query(kQuery), "query");
    uint32_t orderedCount = 0;
    const double orderedSecs = seconds([&] { orderedCount = table->queryRecCount(); });
    report("query count in LNAME order", orderedSecs, table->recCount(),
           std::to_string(orderedCount) + " match");
    check(table->query(""), "clear query");
    table->setDeleted(false);

    // Bulk changes with all 26 tags open. One by one first, on a sample: every
    // changed record writes its index pages at once.
    const int tagField = table->fieldIndex("TAG");
    const int isdel = table->fieldIndex("ISDEL");
    const uint32_t sample = std::min<uint32_t>(table->recCount(), 5000);
    uint32_t changed = 0;
    const double singleSecs = seconds([&] {
        check(table->goTop(), "goTop");
        for (uint32_t i = 0; i < sample && !table->eof(); ++i) {
            check(table->replace(tagField, "SAMPLE"), "replace");
            check(table->skip(), "skip");
            ++changed;
        }
        check(table->commit(), "commit");
    });
    report("tag (TAG field), one by one", singleSecs, changed, std::to_string(changed) + " changed");

    // Tag all: the TAG field of every record, in one batch.
    const double tagAllSecs = seconds([&] {
        IndexBatch batch(*table);
        check(batch.begun(), "beginBatch");
        changed = everyRecord(*table, [&](Table& t) {
            check(t.replace(tagField, "MAILED"), "replace");
            return true;
        });
        check(batch.finish(), "endBatch");
    });
    report("tag all (TAG field), batched", tagAllSecs, changed, std::to_string(changed) + " changed");

    // Case conversion of LNAME: the key of UPPER(LNAME) stays, NAME's changes.
    const int lname = table->fieldIndex("LNAME");
    const double caseSecs = seconds([&] {
        IndexBatch batch(*table);
        check(batch.begun(), "beginBatch");
        changed = everyRecord(*table, [&](Table& t) {
            const std::string old = t.getString(lname);
            const std::string upper = upperCase(old);
            if (upper == old) return false;
            check(t.replace(lname, upper), "replace");
            return true;
        });
        check(batch.finish(), "endBatch");
    });
    report("case conversion (LNAME), batched", caseSecs, changed, std::to_string(changed) + " changed");

    // Delete by filter: ISDEL and the deletion mark (the DELETED, ISDEL and NOTISDEL
    // keys change) of every record the count above matched.
    std::unique_ptr<Expression> filter;
    check(table->compile("UPPER(LNAME)=\"SM\"", &filter), "compile");
    const double deleteSecs = seconds([&] {
        IndexBatch batch(*table);
        check(batch.begun(), "beginBatch");
        changed = everyRecord(*table, [&](Table& t) {
            if (!filter->evalLogical(t.evalContext())) return false;
            check(t.replaceLogical(isdel, true), "replace");
            check(t.deleteRecord(), "delete");
            return true;
        });
        check(batch.finish(), "endBatch");
    });
    report("delete by filter, batched", deleteSecs, changed, std::to_string(changed) + " changed");

    // Appends that put keys in all 26 tags, as an import does: one by one, then batched.
    const auto appendSome = [&](uint32_t count, uint64_t seed) {
        Random rng(seed);
        std::vector<std::string> values(kFieldCount);
        std::string memo;
        for (uint32_t r = 0; r < count; ++r) {
            makeAddress(rng, values, &memo);
            check(table->appendBlank(), "append");
            for (int f = 0; f < MEMO; ++f) {
                if (!values[size_t(f)].empty()) check(table->replace(f, values[size_t(f)]), "replace");
            }
        }
        check(table->commit(), "commit");
    };
    const uint32_t kFew = std::min<uint32_t>(records / 10, 2000);
    report("append with 26 tags, one by one", seconds([&] { appendSome(kFew, 99); }), kFew);
    const uint32_t kMany = std::min<uint32_t>(records / 10, 5000);
    report("append with 26 tags, batched", seconds([&] {
               IndexBatch batch(*table);
               check(batch.begun(), "beginBatch");
               appendSome(kMany, 100);
               check(batch.finish(), "endBatch");
           }),
           kMany);
    if (records <= 100000) check(table->verifyIndexes(), "verify the tags");

    check(table->close(), "close");
    table.reset();
    std::remove(work.c_str());
    std::remove(withExt(work, ".fpt").c_str());
    std::remove(withExt(work, ".cdx").c_str());
    if (!keep) {
        std::remove(path.c_str());
        std::remove(withExt(path, ".fpt").c_str());
    }
    std::printf("\n");
}

void usage() {
    std::printf(
        "usage: bench_xbase [--sizes N[,N...]] [--dir DIR] [--keep]\n"
        "  --sizes  record counts to generate and time (default 100000,1000000)\n"
        "  --dir    folder for the generated tables (default /tmp/quillory-bench)\n"
        "  --keep   leave the generated tables in place afterwards; a later run takes them\n"
        "           up again instead of generating them anew\n"
        "bench_xbase --scan TABLE  the C read() loop's count alone, for timing it as a process\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint32_t> sizes = {100000, 1000000};
    std::string dir = "/tmp/quillory-bench";
    bool keep = false;
    if (argc == 3 && std::string(argv[1]) == "--scan") {
        std::printf("%u\n", readLoopCount(argv[2], rawLayout(argv[2])));
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sizes" && i + 1 < argc) {
            sizes.clear();
            std::string list = argv[++i];
            for (size_t start = 0; start <= list.size();) {
                size_t comma = list.find(',', start);
                if (comma == std::string::npos) comma = list.size();
                const unsigned long n = std::strtoul(list.substr(start, comma - start).c_str(), nullptr, 10);
                if (n == 0 || n > 50000000) {
                    std::fprintf(stderr, "bench_xbase: bad size in \"%s\"\n", list.c_str());
                    return 2;
                }
                sizes.push_back(uint32_t(n));
                start = comma + 1;
            }
        } else if (arg == "--dir" && i + 1 < argc) {
            dir = argv[++i];
        } else if (arg == "--keep") {
            keep = true;
        } else {
            usage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "bench_xbase: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
        return 1;
    }
    for (uint32_t n : sizes) runSize(dir, n, keep);
    return 0;
}
