#!/usr/bin/perl
# Writes a FoxPro table (0xF5 + .fpt memo file) with Perl's XBase module from rows
# on standard input, in the format xbase_read.pl prints. Text is stored in code
# page 1252 and the header is marked so.
#
# Usage: xbase_write.pl TABLE FIELDS < rows
#   FIELDS  e.g. "NAME C(30); AMOUNT N(10,2); OK L; DAY D; NOTES M"
use strict;
use warnings;
use Encode qw(encode decode);
use XBase;

sub unescape {
    my ($text) = @_;
    my %map = (t => "\t", r => "\r", n => "\n");
    $text =~ s/\\(.)/exists $map{$1} ? $map{$1} : $1/ge;
    return $text;
}

my ($path, $field_list) = @ARGV;
die "usage: $0 TABLE FIELDS\n" unless defined $field_list;
my (@names, @types, @lengths, @decimals);
for my $field (split /\s*;\s*/, $field_list) {
    $field =~ /^\s*(\w+)\s+([CNLDM])(?:\((\d+)(?:,(\d+))?\))?\s*$/ or die "bad field \"$field\"\n";
    push @names, uc $1;
    push @types, $2;
    push @lengths, defined $3 ? $3 : ($2 eq 'D' ? 8 : $2 eq 'L' ? 1 : 10);
    push @decimals, defined $4 ? $4 : 0;
}

my $table = XBase->create(
    name => $path, version => 0xF5, codepage => 0x03,
    field_names => \@names, field_types => \@types,
    field_lengths => \@lengths, field_decimals => \@decimals,
) or die XBase->errstr;

binmode(STDIN, ':raw');
my $first = 1;
my $recno = 0;
while (my $line = <STDIN>) {
    chomp $line;
    next if $first-- > 0 or $line eq '';
    my ($mark, @cells) = map { unescape(decode('UTF-8', $_)) } split /\t/, $line, -1;
    die scalar(@cells) . " values for " . scalar(@names) . " fields: $line\n" unless @cells == @names;
    my @values;
    for my $f (0 .. $#names) {
        my ($text, $type) = ($cells[$f], $types[$f]);
        if ($type eq 'C' or $type eq 'M') {
            push @values, encode('cp1252', $text);
        } elsif ($text eq '') {
            push @values, undef;
        } elsif ($type eq 'L') {
            push @values, $text eq 'T' ? 1 : 0;
        } else {
            push @values, $text;
        }
    }
    $table->set_record($recno, @values) or die $table->errstr;
    $table->delete_record($recno) or die $table->errstr if $mark eq '*';
    ++$recno;
}
$table->close or die $table->errstr;
