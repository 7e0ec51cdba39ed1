// Times the xBase engine on synthetic address tables: appending, a full scan, a
// query count and pack, plus a hand-written loop over the raw file bytes that
// counts the same records, as the yardstick for the query count.
//
//   bench_xbase [--sizes 100000,1000000] [--dir /tmp/quillory-bench] [--keep]
//
// The tables use the 23-field address-file layout and are generated from a fixed
// seed, so every run writes the same bytes. They are deleted afterwards unless
// --keep is given.

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
    std::printf("  %-30s %9.4f s %14.0f rec/s  %s\n", what, secs, secs > 0 ? double(records) / secs : 0.0,
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

// The count done by hand over the raw bytes of a mapped table: LNAME's first two
// bytes upper-cased equal "SM" and ISDEL is not true.
class Baseline {
  public:
    explicit Baseline(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        struct stat st;
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            std::perror(path.c_str());
            std::exit(1);
        }
        size_ = size_t(st.st_size);
        void* map = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, fd, 0);
        ::close(fd);
        if (map == MAP_FAILED) {
            std::perror("mmap");
            std::exit(1);
        }
        base_ = static_cast<const unsigned char*>(map);
    }
    ~Baseline() { ::munmap(const_cast<unsigned char*>(base_), size_); }

    uint32_t count(uint32_t lnameOffset, uint32_t isdelOffset) const {
        const unsigned char* p = base_;
        const uint32_t recCount = uint32_t(p[4] | p[5] << 8 | p[6] << 16 | uint32_t(p[7]) << 24);
        const uint32_t headerLength = p[8] | p[9] << 8;
        const uint32_t recordLength = p[10] | p[11] << 8;
        uint32_t n = 0;
        const unsigned char* rec = p + headerLength;
        for (uint32_t r = 0; r < recCount; ++r, rec += recordLength) {
            const unsigned char a = rec[lnameOffset], b = rec[lnameOffset + 1], del = rec[isdelOffset];
            const bool sm = (a == 'S' || a == 's') && (b == 'M' || b == 'm');
            const bool isdel = del == 'T' || del == 't' || del == 'Y' || del == 'y';
            n += sm && !isdel;
        }
        return n;
    }

  private:
    const unsigned char* base_ = nullptr;
    size_t size_ = 0;
};

void runSize(const std::string& dir, uint32_t records, bool keep) {
    const std::string path = dir + "/addr_" + std::to_string(records) + ".dbf";
    const TableSpec design = addressTable();
    check(Table::create(path, design), "create " + path);
    std::unique_ptr<Table> table;
    check(Table::open(path, OpenMode::Exclusive, &table), "open " + path);
    std::printf("%" PRIu32 " records, %u bytes each: %s\n", records, table->layout().recordLength(),
                path.c_str());

    // Append: the generation itself.
    uint32_t deleted = 0, memos = 0;
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

    // Full scan in natural order, reading one field of every record.
    uint64_t bytesSeen = 0;
    uint32_t visited = 0;
    const double scanSecs = seconds([&] {
        check(table->goTop(), "goTop");
        while (!table->eof()) {
            bytesSeen += table->getString(LNAME).size();
            ++visited;
            check(table->skip(), "skip");
        }
    });
    report("full scan (goTop/skip)", scanSecs, visited, std::to_string(visited) + " visited");

    // The query count against the hand-written loop. The first engine count maps
    // the file; the best of three after it compares like with like.
    const std::string query = "UPPER(LNAME)=\"SM\" .and. !ISDEL";
    uint32_t engineCount = 0;
    const double compileSecs = seconds([&] { check(table->query(query), "query"); });
    const double firstSecs = seconds([&] { engineCount = table->queryRecCount(); });
    double querySecs = firstSecs;
    for (int i = 0; i < 3; ++i) {
        querySecs = std::min(querySecs, seconds([&] { engineCount = table->queryRecCount(); }));
    }
    check(table->query(""), "clear query");
    const uint32_t lnameOffset = table->field(LNAME).offset;
    const uint32_t isdelOffset = table->field(ISDEL).offset;
    check(table->close(), "close");
    table.reset();

    double baseSecs = 1e9;
    uint32_t baseCount = 0;
    {
        const Baseline baseline(path);
        baseCount = baseline.count(lnameOffset, isdelOffset);  // faults the pages in
        for (int i = 0; i < 3; ++i) {
            baseSecs =
                std::min(baseSecs, seconds([&] { baseCount = baseline.count(lnameOffset, isdelOffset); }));
        }
    }
    std::printf("  query: %s (compiled in %.0f us)\n", query.c_str(), compileSecs * 1e6);
    report("query count, first", firstSecs, records, std::to_string(engineCount) + " match");
    report("query count, best of 3", querySecs, records, std::to_string(engineCount) + " match");
    report("baseline C loop, best of 3", baseSecs, records, std::to_string(baseCount) + " match");
    std::printf("  %-30s %9.1fx\n", "engine / baseline", baseSecs > 0 ? querySecs / baseSecs : 0.0);
    if (engineCount != baseCount) {
        std::fprintf(stderr, "bench_xbase: the engine counted %u, the baseline %u\n", engineCount, baseCount);
        std::exit(1);
    }

    // Pack: drops the records marked deleted.
    check(Table::open(path, OpenMode::Exclusive, &table), "reopen " + path);
    const double packSecs = seconds([&] { check(table->pack(), "pack"); });
    report("pack", packSecs, records, std::to_string(table->recCount()) + " kept");
    if (table->recCount() != records - deleted) {
        std::fprintf(stderr, "bench_xbase: pack kept %u records, expected %u\n", table->recCount(),
                     records - deleted);
        std::exit(1);
    }
    // The address file's 26 tags, built from scratch.
    const double tagSecs = seconds([&] {
        for (const AddressFile::TagDef& tag : AddressFile::tags()) check(table->indexTag(tag.name, tag.key), tag.name);
    });
    report("26 tags built", tagSecs, table->recCount(), std::to_string(table->orderCount()) + " tags");

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

    // A full walk in last-name order.
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
    check(table->query(query), "query");
    uint32_t orderedCount = 0;
    const double orderedSecs = seconds([&] { orderedCount = table->queryRecCount(); });
    report("query count in LNAME order", orderedSecs, table->recCount(), std::to_string(orderedCount) + " match");
    check(table->query(""), "clear query");

    // Appends that keep all 26 tags up to date, as an import does.
    const uint32_t kAppends = std::min<uint32_t>(records / 10, 20000);
    const double indexedAppendSecs = seconds([&] {
        Random rng(99);
        std::vector<std::string> values(kFieldCount);
        std::string memo;
        for (uint32_t r = 0; r < kAppends; ++r) {
            makeAddress(rng, values, &memo);
            check(table->appendBlank(), "append");
            for (int f = 0; f < MEMO; ++f) {
                if (!values[size_t(f)].empty()) check(table->replace(f, values[size_t(f)]), "replace");
            }
        }
        check(table->commit(), "commit");
    });
    report("append with 26 tags", indexedAppendSecs, kAppends);

    const std::string memoPath = table->memoPath();
    const std::string indexPath = table->indexName(1);
    check(table->close(), "close");
    if (!keep) {
        std::remove(path.c_str());
        std::remove(memoPath.c_str());
        std::remove(indexPath.c_str());
    }
    std::printf("\n");
}

void usage() {
    std::printf(
        "usage: bench_xbase [--sizes N[,N...]] [--dir DIR] [--keep]\n"
        "  --sizes  record counts to generate and time (default 100000,1000000)\n"
        "  --dir    folder for the generated tables (default /tmp/quillory-bench)\n"
        "  --keep   leave the tables in place afterwards\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint32_t> sizes = {100000, 1000000};
    std::string dir = "/tmp/quillory-bench";
    bool keep = false;
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
