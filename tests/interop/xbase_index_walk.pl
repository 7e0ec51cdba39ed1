#!/usr/bin/perl
# Walks one tag of a compound index with Perl's XBase module and prints each entry
# as "key<TAB>record number", in the order the tag holds them.
# Usage: xbase_index_walk.pl FILE.CDX TAG [C|N|D]
use strict;
use warnings;
use XBase::Index;

my ($file, $tag, $type) = @ARGV;
my $index = XBase::Index->new($file, tag => $tag, type => ($type // 'C'))
    or die XBase::Index->errstr;
$index->prepare_select or die XBase::Index->errstr;
binmode STDOUT;
while (my ($key, $rec) = $index->fetch) {
    print "$key\t$rec\n";
}
