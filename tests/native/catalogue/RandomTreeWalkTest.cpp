// The folder walk over generated trees, call for call against a plain
// recursive walk that takes the same choice of entries.
#include "catalogue/core/EntryChoice.h"
#include "catalogue/core/FolderWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace FileAttribute;
constexpr std::uint32_t Archive = 0x20;
// Links (junctions, symbolic links, mount points, and what Wine lists: no
// tag), then folders kept by a cloud drive or another filter.
const std::uint32_t linkTags[] = {0, 0xA0000003, 0xA000000C, 0xA000001D};
const std::uint32_t cloudTags[] = {0x9000001A, 0x9000701A, 0x80000021, 0x80000013};

struct Entry {
    std::string name;
    std::string shortName;
    std::uint32_t attributes = 0;
    std::uint32_t tag = 0;
    int child = -1;  // the node a folder or link leads to
    // Whether a path through this folder opens by its name, by its short name.
    bool opensByName = true;
    bool opensByShortName = true;
};

struct Tree {
    std::string root;
    std::vector<std::vector<Entry>> nodes;  // each folder's entries in listing order
};

std::string folded(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

// Lists the tree by path as the platform would, and notes the listings it
// starts and the walk's hook calls in one sequence; stops the walk at the
// call of index stopAt.
class RecordingWalk : public FolderWalk, public FolderListing {
public:
    explicit RecordingWalk(const Tree &tree) : tree_(tree) {}
    std::vector<std::string> calls;
    std::size_t stopAt = SIZE_MAX;
    bool open = false;

    bool first(const char *folder, ListedEntry &entry) override
    {
        EXPECT_FALSE(open) << "a listing started while another is open: " << folder;
        calls.push_back(std::string("list ") + folder);
        // As on the platform, a folder without a single entry cannot be listed.
        node_ = find(folder);
        open = node_ >= 0 && !tree_.nodes[node_].empty();
        at_ = 0;
        return open && next(entry);
    }
    bool next(ListedEntry &entry) override
    {
        EXPECT_TRUE(open);
        if (!open || at_ >= tree_.nodes[node_].size())
            return false;
        const Entry &e = tree_.nodes[node_][at_++];
        entry = ListedEntry{e.name.c_str(), e.shortName.c_str(), e.attributes, e.tag};
        return true;
    }
    void close() override { open = false; }

protected:
    void backInFolder() override { record("back " + std::string(folder)); }
    int fileFound(const ListedEntry &file) override { return record("file " + std::string(folder) + file.name); }
    int folderEntered(const ListedEntry *subfolder) override
    {
        return record("enter " + std::string(folder) + " " + std::to_string(depth) + " "
                      + (subfolder ? subfolder->name : ""));
    }
    int subfolderFound(const ListedEntry &subfolder) override
    {
        return record("sub " + std::string(folder) + subfolder.name);
    }
    int walkEnded() override { return record("end"); }

private:
    int record(const std::string &call)
    {
        calls.push_back(call);
        return calls.size() - 1 == stopAt;
    }

    // A path component opens a folder by its name or its short name, each
    // where the entry says it does.
    int find(const std::string &folder) const
    {
        int node = 0;
        for (std::size_t at = tree_.root.size(), end; at < folder.size() && node >= 0; at = end + 1) {
            end = folder.find('\\', at);
            std::string part = folder.substr(at, end - at);
            int next = -1;
            for (const Entry &e : tree_.nodes[node])
                if ((e.attributes & Directory) && ((e.name == part && e.opensByName)
                                                   || (e.shortName == part && e.opensByShortName)))
                    next = e.child;
            node = next;
        }
        return node;
    }

    const Tree &tree_;
    int node_ = -1;
    std::size_t at_ = 0;
};

bool endsInExe(const std::string &name)
{
    return name.size() >= 4 && folded(name.substr(name.size() - 4)) == ".exe";
}

struct Rule {
    std::string pattern;  // "*" or "*.exe"
    int maxDepth;
    int includeSystemFolders;
};

// The rule, walked the plain way: recursion, whole paths as strings.
void referenceWalk(const Tree &tree, int node, const std::string &path, int depth, const Rule &rule,
                   std::vector<std::string> &calls, int &deepest)
{
    deepest = std::max(deepest, depth);
    for (const Entry &e : tree.nodes[node])
        if (!(e.attributes & Directory) && hasContentsHere(e.attributes) && (rule.pattern == "*" || endsInExe(e.name)))
            calls.push_back("file " + path + e.name);
    if (depth >= rule.maxDepth)
        return;
    for (const Entry &e : tree.nodes[node]) {
        // Which folders may be entered is the product's rule, tried on its own in
        // FolderWalkTest; here the walk around it is compared.
        bool enter = isEnterableFolder(e.name.c_str(), e.attributes, e.tag, rule.includeSystemFolders) &&
                     path.size() + e.name.size() + 1 < 260;
        if (!enter)
            continue;
        calls.push_back("sub " + path + e.name);
        std::string inner = path + e.name + "\\";
        calls.push_back("enter " + inner + " " + std::to_string(depth + 1) + " " + e.name);
        calls.push_back("list " + inner);
        bool listed = e.opensByName;
        if (!listed && !e.shortName.empty() && e.shortName != e.name) {
            inner = path + e.shortName + "\\";
            calls.push_back("list " + inner);
            listed = e.opensByShortName;
        }
        if (listed)
            referenceWalk(tree, e.child, inner, depth + 1, rule, calls, deepest);
        calls.push_back("back " + path);
    }
}

std::vector<std::string> referenceCalls(const Tree &tree, const Rule &rule, int &deepest)
{
    std::vector<std::string> calls{"enter " + tree.root + " 0 ", "list " + tree.root};
    referenceWalk(tree, 0, tree.root, 0, rule, calls, deepest);
    calls.push_back("end");
    return calls;
}

class TreeMaker {
public:
    explicit TreeMaker(std::uint32_t seed) : random_(seed) {}

    Tree make()
    {
        Tree tree;
        tree.root = "R:\\";
        if (chance(0.2))
            tree.root += name(pick(1, 250)) + "\\";
        tree_ = &tree;
        tree.nodes.emplace_back();
        fill(0, pick(0, 24));
        return tree;
    }

private:
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::string name(int length)
    {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ._-~";
        std::string text;
        for (int i = 0; i < length; ++i)
            text += letters[pick(0, sizeof letters - 2)];
        return text;
    }

    std::string fileName()
    {
        std::string base = name(pick(1, chance(0.05) ? 250 : 10));
        static const char *endings[] = {".exe", ".EXE", ".Exe", ".txt", "exe", ".exe1", ""};
        return (base + endings[pick(0, 6)]).substr(0, 255);
    }

    // One folder's entries. The spine carries the tree deeper and is filled
    // first; the other subfolders stay shallow and get what room is left.
    void fill(int node, int levelsBelow)
    {
        int spine = levelsBelow > 0 ? pick(0, 5) : -1;
        int count = pick(0, 6);
        std::vector<std::pair<int, int>> toFill;  // node, levels below it
        for (int i = 0; i <= count || i <= spine; ++i) {
            Entry e;
            if (i != spine && chance(0.55)) {
                e.name = fileName();
                e.attributes = Archive | (chance(0.2) ? Hidden : 0) | (chance(0.1) ? System : 0)
                             | (chance(0.1) ? Offline : 0) | (chance(0.1) ? RecallOnDataAccess | ReparsePoint : 0);
                add(node, e);
                continue;
            }
            bool odd = i != spine || chance(0.2);
            e.name = odd && chance(0.1) ? "." + name(pick(1, 8)) : name(odd && chance(0.1) ? pick(100, 255) : pick(1, 12));
            e.attributes = Directory | (chance(0.2) ? Hidden : 0) | (odd && chance(0.15) ? System : 0);
            if (chance(0.3))
                e.shortName = chance(0.1) ? e.name : "K" + std::to_string(shortNames_++) + "~1";
            e.opensByName = !odd || chance(0.85);
            // A short name the same as the name is the same path.
            e.opensByShortName = e.shortName == e.name ? e.opensByName : chance(0.8);
            if (i != spine && chance(0.15)) {
                // A link: to anywhere in the tree, an ancestor included.
                e.attributes |= ReparsePoint;
                e.tag = linkTags[pick(0, 3)];
                e.child = pick(0, static_cast<int>(tree_->nodes.size()) - 1);
                add(node, e);
                continue;
            }
            if (chance(0.1)) {
                e.attributes |= ReparsePoint;
                e.tag = cloudTags[pick(0, 3)];
            }
            e.child = static_cast<int>(tree_->nodes.size());
            tree_->nodes.emplace_back();
            // Every folder but a drive's root lists these two.
            add(e.child, Entry{".", "", Directory, 0, e.child});
            add(e.child, Entry{"..", "", Directory, 0, node});
            if (add(node, e))
                toFill.insert(i == spine ? toFill.begin() : toFill.end(),
                              {e.child, i == spine ? levelsBelow - 1 : (chance(0.3) ? pick(0, 2) : 0)});
        }
        for (const auto &child : toFill)
            if (child.second >= 0 && (tree_->nodes.size() < 250 || child.first == toFill.front().first))
                fill(child.first, child.second);
    }

    // Names in one folder differ whatever their letter case, as on the platform.
    bool add(int node, Entry e)
    {
        for (const Entry &other : tree_->nodes[node])
            if (folded(other.name) == folded(e.name))
                return false;
        tree_->nodes[node].push_back(e);
        return true;
    }

    std::mt19937 random_;
    Tree *tree_ = nullptr;
    int shortNames_ = 0;
};

bool startsWith(const std::string &text, const char *head)
{
    return text.compare(0, std::char_traits<char>::length(head), head) == 0;
}

TEST(FolderWalk, FollowsTheRuleOverRandomTreesAndStopsWhereAHookSays)
{
    const Rule rules[] = {{"*.exe", 16, 0}, {"*.exe", 16, 1}, {"*", 17, 0}, {"*.exe", 0, 0},
                          {"*.exe", -2, 1}, {"*.exe", 1, 0}, {"*", 1000, 1}};
    std::mt19937 random(20);
    int deepest = 0;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        Tree tree = TreeMaker(seed).make();
        const Rule &rule = rules[seed % (sizeof rules / sizeof rules[0])];
        Rule clamped = rule;
        clamped.maxDepth = rule.maxDepth < 0 ? 0 : rule.maxDepth;
        std::vector<std::string> expected = referenceCalls(tree, clamped, deepest);

        // Whole, then stopped at a random hook call (a back-in-folder hook
        // cannot stop it), then whole again on the same objects.
        std::size_t stop = std::uniform_int_distribution<std::size_t>(0, expected.size() - 1)(random);
        while (startsWith(expected[stop], "list ") || startsWith(expected[stop], "back "))
            --stop;
        RecordingWalk walk(tree);
        for (std::size_t stopAt : {SIZE_MAX, stop, SIZE_MAX}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", stop at " + std::to_string(stopAt));
            walk.calls.clear();
            walk.stopAt = stopAt;
            int result = walk.walk(tree.root.c_str(), rule.pattern.c_str(), rule.maxDepth, rule.includeSystemFolders,
                                   walk);
            EXPECT_FALSE(walk.open);
            bool stopped = stopAt != SIZE_MAX;
            EXPECT_EQ(result, stopped ? 1 : 0);
            std::vector<std::string> wanted(expected.begin(), stopped ? expected.begin() + stopAt + 1 : expected.end());
            ASSERT_EQ(walk.calls, wanted);
        }
    }
    // The trees reach below the program's depth of 16.
    EXPECT_GE(deepest, 17);
}

} // namespace
